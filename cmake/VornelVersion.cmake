# The game's version and release date have one home: the top entry of debian/changelog, the
# file a release updates anyway (`dch -v`). This reads them before project() so that
# PROJECT_VERSION, the launcher's --version, the about panel, the demos' header, the AppStream
# release and the manual page all say what the package says.
#
#   vornel (1.01) unstable; urgency=medium
#   ...
#    -- Name <address>  Tue, 08 Dec 2026 18:00:00 +0000
#
# Sets VORNEL_VERSION ("1.01") and VORNEL_RELEASE_DATE ("2026-12-08").

set(vornel_changelog ${CMAKE_CURRENT_LIST_DIR}/../debian/changelog)
file(STRINGS ${vornel_changelog} vornel_changelog_heading LIMIT_COUNT 1)
if(NOT vornel_changelog_heading MATCHES "^vornel \\(([0-9]+\\.[0-9]+)\\) ")
  message(FATAL_ERROR "vornel: debian/changelog must begin 'vornel (MAJOR.MINOR) ...', not '${vornel_changelog_heading}'")
endif()
set(VORNEL_VERSION ${CMAKE_MATCH_1})

file(STRINGS ${vornel_changelog} vornel_changelog_trailer REGEX "^ -- " LIMIT_COUNT 1)
if(NOT vornel_changelog_trailer MATCHES ">  [A-Z][a-z][a-z], ([0-9][0-9]?) ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9]) ")
  message(FATAL_ERROR "vornel: the first entry of debian/changelog has no dated trailer line")
endif()
set(vornel_day ${CMAKE_MATCH_1})
set(vornel_year ${CMAKE_MATCH_3})
set(vornel_months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
list(FIND vornel_months ${CMAKE_MATCH_2} vornel_month)
if(vornel_month LESS 0)
  message(FATAL_ERROR "vornel: debian/changelog: no month '${CMAKE_MATCH_2}'")
endif()
math(EXPR vornel_month "${vornel_month} + 1")
string(LENGTH ${vornel_day} vornel_day_digits)
if(vornel_day_digits EQUAL 1)
  set(vornel_day 0${vornel_day})
endif()
if(vornel_month LESS 10)
  set(vornel_month 0${vornel_month})
endif()
set(VORNEL_RELEASE_DATE ${vornel_year}-${vornel_month}-${vornel_day})
