# Writes the page's service worker, page/sw.js.in made into <page>/sw.js:
# every file of the page's folder with its SHA-256, and a cache name made
# from all of them, so that a change to any byte of any file is a new worker
# with a new cache for the browser. The build runs it once the program is
# linked; it can be run by hand on any copy of the page folder:
#   cmake -DPAGE=<page folder> -P platform/web/page_cache.cmake
if(NOT PAGE OR NOT IS_DIRECTORY "${PAGE}")
  message(FATAL_ERROR "usage: cmake -DPAGE=<page folder> -P page_cache.cmake")
endif()
file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE "${PAGE}" "${PAGE}/*")
list(REMOVE_ITEM files sw.js)
list(SORT files)
set(ORVO_FILES "")
set(build "")
foreach(file IN LISTS files)
  # The names go into the worker's JavaScript as they are and are used as
  # URLs: only plain ones are accepted.
  if(NOT file MATCHES "^[A-Za-z0-9_][A-Za-z0-9_./-]*$")
    message(FATAL_ERROR "page_cache.cmake: a file name the page cannot list: '${file}'")
  endif()
  file(SHA256 "${PAGE}/${file}" sum)
  string(APPEND ORVO_FILES "  '${file}': '${sum}',\n")
  string(APPEND build "${file} ${sum}\n")
endforeach()
if(NOT files)
  message(FATAL_ERROR "page_cache.cmake: ${PAGE} holds no files")
endif()
string(SHA256 build "${build}")
string(SUBSTRING "${build}" 0 16 build)
set(ORVO_CACHE "orvo-page-${build}")
# Written only when it changes.
configure_file("${CMAKE_CURRENT_LIST_DIR}/page/sw.js.in" "${PAGE}/sw.js" @ONLY)
