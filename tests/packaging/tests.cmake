# The Debian package, made with CPack from this build into a folder of the
# test's own, then checked: control fields, contents, version, lintian and
# the validators. A sanitized build makes no package worth checking.
if(TARGET orvo AND TARGET orvo-replay AND NOT ORVO_SANITIZE)
  add_test(NAME package.deb
    COMMAND sh ${CMAKE_CURRENT_LIST_DIR}/package_test.sh ${CMAKE_BINARY_DIR} ${PROJECT_VERSION})
  set_tests_properties(package.deb PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 600)
endif()
