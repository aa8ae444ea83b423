include(GoogleTest)

# zarno_add_test(NAME name SOURCES ... [LIBS ...] [LABELS ...])
# One GoogleTest program; every test in it carries the given labels (unit, integration, gui,
# transport, link, ...). Tests never touch the user's own settings: XDG_CONFIG_HOME points into
# the build tree unless a test sets its own. The programs they start speak Russian, the language the
# tests' expected texts are written in, whatever the machine's locale (ZARNO_LANGUAGE); a test of
# the English says so itself.
function(zarno_add_test)
    cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS;LABELS" ${ARGN})
    add_executable(${T_NAME} ${T_SOURCES})
    zarno_defaults(${T_NAME})
    target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main Threads::Threads)
    gtest_discover_tests(${T_NAME}
        DISCOVERY_MODE PRE_TEST
        DISCOVERY_TIMEOUT 60
        TEST_LIST ${T_NAME}_TESTS
        PROPERTIES TIMEOUT 300)
    # List-valued properties do not survive gtest_discover_tests' argument passing; a second include
    # file, read after the discovered list, sets them on every test of this program.
    set(props_file "${CMAKE_CURRENT_BINARY_DIR}/${T_NAME}_properties.cmake")
    file(WRITE "${props_file}"
        "foreach(t IN LISTS ${T_NAME}_TESTS)\n"
        "  set_tests_properties(\"\${t}\" PROPERTIES LABELS \"${T_LABELS}\"\n"
        "    ENVIRONMENT \"XDG_CONFIG_HOME=${CMAKE_BINARY_DIR}/test-config;QT_QPA_PLATFORM=offscreen;ZARNO_LANGUAGE=ru\")\n"
        "endforeach()\n")
    set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES "${props_file}")
endfunction()
