# The vSphere web-services endpoint for the SOAP client's tests: govmomi's simulator behind tests/endpoint/main.go,
# built with the system Go from Debian's GOPATH sources. Without them it is skipped, and so are the tests needing it.
option(VISDK_TEST_ENDPOINT "Build the simulated vSphere endpoint and run the tests that need it" ON)
set(VISDK_GOPATH_SOURCES /usr/share/gocode CACHE PATH "GOPATH tree holding src/github.com/vmware/govmomi")

set(VISDK_ENDPOINT ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/visdk-test-endpoint)
set(VISDK_ENDPOINT_SOURCE ${CMAKE_SOURCE_DIR}/tests/endpoint/main.go)
set(VISDK_ENDPOINT_FILES ${CMAKE_BINARY_DIR}/endpoint)
set(VISDK_FAULT_PROXY ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/visdk-fault-proxy)
set(VISDK_FAULT_PROXY_SOURCE ${CMAKE_SOURCE_DIR}/tests/faultproxy/main.go)
# Everything Go writes stays in the build tree, whatever HOME or the user's Go settings are.
set(VISDK_GO_ENV GO111MODULE=off GOPATH=${CMAKE_BINARY_DIR}/go/path:${VISDK_GOPATH_SOURCES}
    GOCACHE=${CMAKE_BINARY_DIR}/go/cache GOENV=off GOFLAGS= GOPROXY=off CGO_ENABLED=0)

# Our own Go package, shared by the endpoint and the fault proxy, found as visdk/testcert on that GOPATH.
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/go/path/src/visdk)
file(CREATE_LINK ${CMAKE_SOURCE_DIR}/tests/testcert ${CMAKE_BINARY_DIR}/go/path/src/visdk/testcert SYMBOLIC)
set(VISDK_GO_SHARED ${CMAKE_SOURCE_DIR}/tests/testcert/testcert.go)

set(VISDK_ENDPOINT_FOUND OFF)
if(VISDK_TEST_ENDPOINT)
  find_program(VISDK_GO go)
  if(NOT VISDK_GO OR NOT EXISTS "${VISDK_GO}")
    message(WARNING "No `go` (Debian: golang-go): the test endpoint is not built and the tests needing it are disabled")
  else()
    execute_process(COMMAND ${CMAKE_COMMAND} -E env ${VISDK_GO_ENV} ${VISDK_GO} list -deps ${VISDK_ENDPOINT_SOURCE}
      RESULT_VARIABLE missing OUTPUT_QUIET ERROR_VARIABLE why ERROR_STRIP_TRAILING_WHITESPACE)
    if(missing)
      message(WARNING "The test endpoint's Go sources are incomplete (Debian: golang-github-vmware-govmomi-dev), so it is "
                      "not built and the tests needing it are disabled:\n${why}")
    else()
      set(VISDK_ENDPOINT_FOUND ON)
      message(STATUS "Test endpoint: ${VISDK_ENDPOINT}")
    endif()
  endif()
endif()

if(VISDK_ENDPOINT_FOUND)
  add_custom_command(OUTPUT ${VISDK_ENDPOINT}
    COMMAND ${CMAKE_COMMAND} -E env ${VISDK_GO_ENV} ${VISDK_GO} build "-ldflags=-s -w" -o ${VISDK_ENDPOINT} ${VISDK_ENDPOINT_SOURCE}
    DEPENDS ${VISDK_ENDPOINT_SOURCE} ${VISDK_GO_SHARED} COMMENT "Building the test endpoint with Go" VERBATIM)
  add_custom_target(visdk_test_endpoint ALL DEPENDS ${VISDK_ENDPOINT})
  # The fault proxy the fault tests and the soak put between the client and the endpoint: standard library only.
  add_custom_command(OUTPUT ${VISDK_FAULT_PROXY}
    COMMAND ${CMAKE_COMMAND} -E env ${VISDK_GO_ENV} ${VISDK_GO} build "-ldflags=-s -w" -o ${VISDK_FAULT_PROXY} ${VISDK_FAULT_PROXY_SOURCE}
    DEPENDS ${VISDK_FAULT_PROXY_SOURCE} ${VISDK_GO_SHARED} COMMENT "Building the fault proxy with Go" VERBATIM)
  add_custom_target(visdk_fault_proxy ALL DEPENDS ${VISDK_FAULT_PROXY})
endif()

# The fixtures, each one server for the tests requiring it: visdk_endpoint (vCenter model: DC0, cluster DC0_C0 with
# hosts DC0_C0_H0-2, standalone host DC0_H0, 4 VMs, LocalDS_0), visdk_endpoint_esx (one ESX host, 2 VMs) and
# visdk_endpoint_large (the vCenter model with 500 VMs in each of its two pools: 1,000) and visdk_endpoint_traced (the
# vCenter model of its own, writing every request and response to FILE.trace, named by VISDK_ENDPOINT_TRACE in the
# endpoint's file: for tests that look at what went over the wire or change the inventory) and visdk_endpoint_faults
# (the vCenter model of its own, for the fault tests behind the fault proxy). Made on first use, since
# ctest runs a fixture's setup even when nothing it selected needs it.
function(visdk_endpoint_fixture fixture)
  get_property(made GLOBAL PROPERTY VISDK_ENDPOINT_FIXTURES)
  if(fixture IN_LIST made)
    return()
  endif()
  set_property(GLOBAL APPEND PROPERTY VISDK_ENDPOINT_FIXTURES ${fixture})
  set(arguments "")
  if(fixture STREQUAL "visdk_endpoint_esx")
    set(arguments -esx)
  elseif(fixture STREQUAL "visdk_endpoint_large")
    set(arguments -vm 500)
  endif()
  set(file ${VISDK_ENDPOINT_FILES}/${fixture}.env)
  if(fixture STREQUAL "visdk_endpoint_traced")
    set(arguments -trace ${file}.trace)
  endif()
  add_test(NAME ${fixture}_start
    COMMAND ${CMAKE_SOURCE_DIR}/tests/endpoint/start.sh ${VISDK_ENDPOINT} ${file} ${arguments})
  add_test(NAME ${fixture}_stop COMMAND ${CMAKE_SOURCE_DIR}/tests/endpoint/stop.sh ${file})
  set_tests_properties(${fixture}_start PROPERTIES FIXTURES_SETUP ${fixture} TIMEOUT 120)
  set_tests_properties(${fixture}_stop PROPERTIES FIXTURES_CLEANUP ${fixture} TIMEOUT 60)
  if(NOT VISDK_ENDPOINT_FOUND)
    set_tests_properties(${fixture}_start ${fixture}_stop PROPERTIES DISABLED ON)
  endif()
endfunction()

# visdk_endpoint_test(NAME [ESX|LARGE|TRACED|FAULTS] SOURCES ... | COMMAND ...): a test of visdk_test's kind (SOURCES) or a
# command, run while its endpoint serves, with VISDK_TEST_ENDPOINT naming the server's file. Disabled when there is no
# endpoint.
function(visdk_endpoint_test NAME)
  cmake_parse_arguments(T "ESX;LARGE;TRACED;FAULTS" "" "SOURCES;COMMAND" ${ARGN})
  set(fixture visdk_endpoint)
  if(T_ESX)
    set(fixture visdk_endpoint_esx)
  elseif(T_LARGE)
    set(fixture visdk_endpoint_large)
  elseif(T_TRACED)
    set(fixture visdk_endpoint_traced)
  elseif(T_FAULTS)
    set(fixture visdk_endpoint_faults)
  endif()
  visdk_endpoint_fixture(${fixture})
  if(T_SOURCES)
    visdk_test(${NAME} SOURCES ${T_SOURCES})
  else()
    add_test(NAME ${NAME} COMMAND ${T_COMMAND})
    set_tests_properties(${NAME} PROPERTIES TIMEOUT 300)
  endif()
  # Tests of one server change its inventory (power, snapshots, clones): they take turns, also under ctest -j.
  set_tests_properties(${NAME} PROPERTIES FIXTURES_REQUIRED ${fixture} RESOURCE_LOCK ${fixture}
    ENVIRONMENT VISDK_TEST_ENDPOINT=${VISDK_ENDPOINT_FILES}/${fixture}.env)
  if(NOT VISDK_ENDPOINT_FOUND)
    set_tests_properties(${NAME} PROPERTIES DISABLED ON)
  endif()
endfunction()
