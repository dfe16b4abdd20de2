# Read by CPack for each generator (CPACK_PROJECT_CONFIG_FILE).
if(CPACK_GENERATOR STREQUAL "TGZ")
  # The application folder alone, as updates unpack it.
  set(CPACK_COMPONENTS_ALL release)
endif()
