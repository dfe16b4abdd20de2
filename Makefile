BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
# The sanitizer build: clang, AddressSanitizer and UndefinedBehaviorSanitizer, and the fuzz targets.
SANITIZE_DIR ?= build-sanitize
FUZZ_SECONDS ?= 30
# Where `make install` puts the program: /usr/local for everyone (as root), ~/.local for one user.
PREFIX ?= /usr/local

.PHONY: run test test-apps build configure deps clean test-sanitize test-sanitize-unit fuzz configure-sanitize \
	install uninstall release-archive deb

run: build
	$(BUILD_DIR)/src/lumeno

# A suite that fails is run once more before the run counts as failed: the desktop suites drive real
# applications on a loaded machine, where a rare race of theirs must not hide what the second run shows.
# The editors' check (label "apps") is left to `make test-apps`.
test: build
	QT_QPA_PLATFORM=offscreen ctest --test-dir $(BUILD_DIR) --output-on-failure --repeat until-pass:2 -LE apps

# The desktop's editors (mousepad, LibreOffice Writer, KWrite), LibreOffice installed first when missing:
# each field read, a word and a reply of several paragraphs pasted, each outcome held against the editor.
test-apps: build
	scripts/install-deps.sh apps
	QT_QPA_PLATFORM=offscreen ctest --test-dir $(BUILD_DIR) --output-on-failure --repeat until-pass:2 -L apps

build: configure
	cmake --build $(BUILD_DIR)

# The program, its command, menu entry and icons under $(PREFIX) (DESTDIR is honoured, for packaging); only
# what it installs is built.
install: configure
	cmake --build $(BUILD_DIR) --target lumeno app-icons
	cmake --install $(BUILD_DIR) --prefix $(PREFIX) --strip

# What `make install` put under $(PREFIX), including the application folder as an update left it.
uninstall:
	rm -rf "$(DESTDIR)$(PREFIX)/lib/lumeno" "$(DESTDIR)$(PREFIX)/lib/lumeno.update" "$(DESTDIR)$(PREFIX)/lib/lumeno.previous"
	rm -f "$(DESTDIR)$(PREFIX)/bin/lumeno" "$(DESTDIR)$(PREFIX)/share/applications/app.lumeno.Lumeno.desktop"
	rm -f $(foreach side,16 24 32 48 64 128 256,"$(DESTDIR)$(PREFIX)/share/icons/hicolor/$(side)x$(side)/apps/app.lumeno.Lumeno.png")

# $(BUILD_DIR)/lumeno-<version>-linux-<arch>.tar.gz, the archive an update installs.
release-archive: configure
	cmake --build $(BUILD_DIR) --target release-archive

# $(BUILD_DIR)/lumeno_<version>_<arch>.deb
deb: configure
	cmake --build $(BUILD_DIR) --target deb

configure: deps
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE)

deps:
	scripts/install-deps.sh

# Line tables are all a report needs (the file and line of every frame); full debug information would only
# make the build slower and larger.
configure-sanitize: deps
	cmake -S . -B $(SANITIZE_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DLUMENO_FUZZ=ON \
	  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -gline-tables-only -DNDEBUG"

# The whole suite under ASan and UBSan (with the fuzz targets replaying their seeds).
test-sanitize: configure-sanitize
	cmake --build $(SANITIZE_DIR)
	QT_QPA_PLATFORM=offscreen UBSAN_OPTIONS=print_stacktrace=1 ctest --test-dir $(SANITIZE_DIR) --output-on-failure

# The unit tests alone under ASan and UBSan, built without the desktop suites (what CI has time for); a suite
# that fails runs once more, as in `make test`: its report shows first either way.
test-sanitize-unit: configure-sanitize
	cmake --build $(SANITIZE_DIR) --target lumeno_unit_tests
	QT_QPA_PLATFORM=offscreen UBSAN_OPTIONS=print_stacktrace=1 ctest --test-dir $(SANITIZE_DIR) -L unit --output-on-failure -j2 --repeat until-pass:2

# Every fuzz target for FUZZ_SECONDS each.
fuzz: configure-sanitize
	cmake --build $(SANITIZE_DIR) --target $(patsubst fuzz/corpus/%/,fuzz_%,$(wildcard fuzz/corpus/*/))
	scripts/fuzz.sh $(SANITIZE_DIR) $(FUZZ_SECONDS)

clean:
	rm -rf $(BUILD_DIR) $(SANITIZE_DIR)
