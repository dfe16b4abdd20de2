# What a release says of itself and needs to update again, set from project()'s version and the cache:
#   LUMENO_DISPLAY_VERSION    the version users see: MAJOR.MINOR, with .PATCH when the patch is not zero
#   LUMENO_UPDATE_FEED        the update feed, empty for none
#   LUMENO_UPDATE_PUBLIC_KEY  the base64 Ed25519 key update archives are signed for, empty for none
# A feed or key that every installed copy would refuse at each start is refused here, before anything is
# built: such a copy could never update itself.
if(PROJECT_VERSION_PATCH EQUAL 0)
  set(LUMENO_DISPLAY_VERSION ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR})
else()
  set(LUMENO_DISPLAY_VERSION ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH})
endif()

set(LUMENO_UPDATE_FEED "" CACHE STRING "Address of the update feed (an appcast), empty for none")
set(LUMENO_UPDATE_PUBLIC_KEY "" CACHE STRING "Base64 of the raw Ed25519 public key that update archives are signed for")

string(LENGTH "${LUMENO_UPDATE_PUBLIC_KEY}" key_length)
if(LUMENO_UPDATE_PUBLIC_KEY AND NOT (key_length EQUAL 44 AND LUMENO_UPDATE_PUBLIC_KEY MATCHES "^[A-Za-z0-9+/]+=$"))
  message(FATAL_ERROR "LUMENO_UPDATE_PUBLIC_KEY is not the base64 of an Ed25519 public key (44 characters, "
                      "as scripts/release-sign.sh keygen prints it)")
endif()

# The program's own address rule (foundation/ServerAddress): https to any host, plain http only to this
# machine (localhost, 127.0.0.0/8, ::1).
if(NOT LUMENO_UPDATE_FEED STREQUAL "")
  set(feed_accepted FALSE)
  if(LUMENO_UPDATE_FEED MATCHES "^([A-Za-z][A-Za-z0-9+.-]*)://([^/?# \t]*)([/?#][^ \t]*)?$")
    string(TOLOWER "${CMAKE_MATCH_1}" feed_scheme)
    # The host, after any user name and before any port.
    string(REGEX REPLACE "^.*@" "" feed_host "${CMAKE_MATCH_2}")
    string(REGEX MATCH "^(\\[[^]]*\\]|[^:]*)" feed_host "${feed_host}")
    string(TOLOWER "${feed_host}" feed_host)
    set(octet "(25[0-5]|2[0-4][0-9]|1[0-9][0-9]|[1-9]?[0-9])")
    if(feed_scheme STREQUAL "https" AND NOT feed_host STREQUAL "")
      set(feed_accepted TRUE)
    elseif(feed_scheme STREQUAL "http" AND (feed_host MATCHES "^(localhost|\\[::1\\]|\\[0:0:0:0:0:0:0:1\\])$"
                                            OR feed_host MATCHES "^127\\.${octet}\\.${octet}\\.${octet}$"))
      set(feed_accepted TRUE)
    endif()
  endif()
  if(NOT feed_accepted)
    message(FATAL_ERROR "LUMENO_UPDATE_FEED=${LUMENO_UPDATE_FEED} would be refused by every installed copy, "
                        "which then never checks for updates: give an https address (plain http only to this "
                        "machine: localhost, 127.0.0.1 or [::1])")
  endif()
endif()
