# AddressSanitizer and UndefinedBehaviorSanitizer over everything built in this folder (make test-sanitize);
# with LUMENO_FUZZ also the libFuzzer targets in fuzz/ (make fuzz), which need clang.
option(LUMENO_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(LUMENO_FUZZ "Build the fuzz targets (clang only; sanitizers on)" OFF)

if(LUMENO_FUZZ AND NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  message(FATAL_ERROR "The fuzz targets need clang: configure with -DCMAKE_CXX_COMPILER=clang++")
endif()

if(LUMENO_SANITIZE OR LUMENO_FUZZ)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
  if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    # clang 14 cannot compile the function-type check into coroutines ("Cannot represent a difference
    # across sections").
    add_compile_options(-fno-sanitize=function)
  endif()
endif()

if(LUMENO_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()
