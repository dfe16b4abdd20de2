BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo

.PHONY: run test build configure deps clean

run: build
	$(BUILD_DIR)/src/app/lumeno

test: build
	QT_QPA_PLATFORM=offscreen ctest --test-dir $(BUILD_DIR) --output-on-failure

build: configure
	cmake --build $(BUILD_DIR)

configure: deps
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE)

deps:
	scripts/install-deps.sh

clean:
	rm -rf $(BUILD_DIR)
