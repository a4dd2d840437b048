# SPDX-License-Identifier: GPL-3.0-or-later
# Run by cpack after it has made the package: a package whose Depends were
# not computed (dpkg-shlibdeps missing or finding nothing) would install and
# then fail to start for want of its libraries, so it is an error.
foreach(package IN LISTS CPACK_PACKAGE_FILES)
  if(NOT package MATCHES "\\.deb$")
    continue()
  endif()
  execute_process(COMMAND dpkg-deb --field ${package} Depends
                  OUTPUT_VARIABLE depends RESULT_VARIABLE status OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT status EQUAL 0 OR NOT depends MATCHES "libc6")
    file(REMOVE ${package})
    message(FATAL_ERROR "${package} has no computed dependencies (Depends: \"${depends}\"); "
                        "install dpkg-dev (for dpkg-shlibdeps) and file, and make the package again. "
                        "The package was removed.")
  endif()
  message(STATUS "${package}: Depends: ${depends}")
endforeach()
