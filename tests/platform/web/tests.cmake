# The page's tests in the browsers, for CTest in the browser's build tree
# (scripts/web.sh --tests): each test file on Node's own test runner, once
# for every engine, as web.<engine>.<file> (web.chromium.page, ...). They
# compare the page's games with a native orvo-replay (ORVO_REPLAY).
# puppeteer-core, pinned by package-lock.json, comes first from the npm
# registry (web.npm_ci). A test whose browser is not installed exits with 77
# (page_lib.mjs) and is reported as skipped; what an engine cannot be asked
# to do shows as a skip in the test's own report.
if(NOT ORVO_BUILD_TESTS)
  return()
endif()
enable_testing()
set(ORVO_WEB_TEST_DIR ${CMAKE_CURRENT_LIST_DIR})
set(ORVO_REPLAY "" CACHE FILEPATH "orvo-replay of a native build, for the page tests to compare with")
if(NOT ORVO_REPLAY)
  message(WARNING "No page tests: they need ORVO_REPLAY, a native orvo-replay "
                  "(scripts/web.sh --tests gives it)")
  return()
endif()
find_program(ORVO_NODE NAMES node nodejs REQUIRED)
find_program(ORVO_NPM npm REQUIRED)

add_test(NAME web.npm_ci
  COMMAND ${ORVO_NPM} ci --no-audit --no-fund --loglevel=error
  WORKING_DIRECTORY ${ORVO_WEB_TEST_DIR})
set_tests_properties(web.npm_ci PROPERTIES FIXTURES_SETUP web_node_modules TIMEOUT 600)

# One engine's runs of the test files: the program that ORVO_WEB_<ENGINE>
# names (Debian's when not set) started by page_lib.mjs as ORVO_BROWSER
# says. Each file starts a browser of its own with a profile of its own and
# serves its own copies of the page, so the runs do not disturb each other;
# the waits in them bound nothing, the timeout only ends a hung browser.
function(orvo_web_engine engine program)
  string(TOUPPER ${engine} name)
  set(ORVO_WEB_${name} ${program} CACHE FILEPATH "${engine} for the page tests")
  foreach(file page touch offline idle)
    set(arguments ${CMAKE_BINARY_DIR}/page)
    if(file MATCHES "^(page|touch)$")
      list(APPEND arguments ${ORVO_REPLAY})
    endif()
    add_test(NAME web.${engine}.${file}
      COMMAND ${ORVO_NODE} --test-reporter=tap ${ORVO_WEB_TEST_DIR}/${file}_test.mjs ${arguments})
    set_tests_properties(web.${engine}.${file} PROPERTIES
      FIXTURES_REQUIRED web_node_modules SKIP_RETURN_CODE 77 TIMEOUT 1200
      ENVIRONMENT "ORVO_BROWSER=${engine};ORVO_BROWSER_PROGRAM=${ORVO_WEB_${name}}")
  endforeach()
endfunction()
orvo_web_engine(chromium /usr/bin/chromium)
orvo_web_engine(firefox /usr/bin/firefox-esr)

# A browser that is not installed is a skip, never a pass: the file skips its
# one test, saying so, and exits with 77.
add_test(NAME web.missing_browser_skips
  COMMAND sh -c [[
    ORVO_BROWSER_PROGRAM=/nonexistent/chromium "$0" --test-reporter=tap "$1" page replay >"$2"
    status=$?
    cat "$2"
    echo "exit status $status"
    [ $status -eq 77 ] && grep -qx '# pass 0' "$2" && grep -qx '# skipped 1' "$2"]]
    ${ORVO_NODE} ${ORVO_WEB_TEST_DIR}/page_test.mjs ${CMAKE_CURRENT_BINARY_DIR}/missing_browser.tap)
set_tests_properties(web.missing_browser_skips PROPERTIES FIXTURES_REQUIRED web_node_modules)
