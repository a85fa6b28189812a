# Functions every folder uses to declare its libraries, programs, tests,
# fuzz targets and benchmarks, so that the three configurations stay in step.
#
#   zarvo_library(name SOURCES portable.cpp... WIN_SOURCES win.cpp... DEPS targets...)
#       One static library per subsystem. SOURCES build everywhere, WIN_SOURCES only in
#       the Windows build. A library with nothing to build in this configuration is skipped.
#   zarvo_test(name SOURCES ... DEPS ... [NATIVE] [WIN] [WINDOWED] [SERIAL] [FOCUS] [WRAPPER cmd...])
#       A GoogleTest executable registered once with CTest. NATIVE builds it natively
#       (sanitizers), WIN builds it for Windows and runs it under Wine; both may be given
#       for one test source. WINDOWED needs a display. SERIAL keeps it apart from other
#       SERIAL tests (COM ports). FOCUS runs it with no other test at all: a window that
#       another test shows takes the keyboard focus, and with it would end an in-place edit.
#       WRAPPER puts a command (for example a script that starts the simulated unit) in
#       front of the test command.
#   zarvo_test_on_windows_version(version tests...)
#       Registers each given Windows test once more, as <test>_<version>, in the Wine prefix
#       that reports that Windows version (scripts/wine-env: ZARVO_WINE_VERSION).
#   zarvo_fuzz(name SOURCES ... DEPS ...)       libFuzzer target, fuzz configuration only.
#   zarvo_bench(name SOURCES ... DEPS ...)      benchmark program, native configuration only.
#   zarvo_linux_tool(name SOURCES ... DEPS ...) Linux program, native configuration only.

set(ZARVO_WARNINGS -Wall -Wextra -Wformat=2 -Werror=format-security -Wno-unused-parameter)

if(ZARVO_FUZZ)
    set(ZARVO_CONFIG fuzz)
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer -g -O1)
    add_link_options(-fsanitize=address,undefined)
elseif(WIN32)
    set(ZARVO_CONFIG win)
    add_compile_definitions(WINVER=0x0601 _WIN32_WINNT=0x0601 __USE_MINGW_ANSI_STDIO=1)
    add_link_options(-static -static-libgcc -static-libstdc++)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/scripts/wine-run)
else()
    set(ZARVO_CONFIG native)
    if(ZARVO_SANITIZE)
        add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined
                            -fno-omit-frame-pointer -g)
        add_link_options(-fsanitize=address,undefined)
    endif()
endif()

function(zarvo_library name)
    cmake_parse_arguments(A "" "" "SOURCES;WIN_SOURCES;DEPS;WIN_DEPS" ${ARGN})
    set(srcs ${A_SOURCES})
    set(deps ${A_DEPS})
    if(ZARVO_CONFIG STREQUAL "win")
        list(APPEND srcs ${A_WIN_SOURCES})
        list(APPEND deps ${A_WIN_DEPS})
    endif()
    if(NOT srcs)
        return()
    endif()
    add_library(${name} STATIC ${srcs})
    target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
    target_compile_options(${name} PRIVATE ${ZARVO_WARNINGS})
    # Our own libraries that this configuration does not build are skipped; system
    # libraries (kernel32, comctl32, ...) are passed through.
    set(existing)
    foreach(d IN LISTS deps)
        if(TARGET ${d})
            list(APPEND existing ${d})
        elseif(NOT d MATCHES "^(zarvo_|classlib_|unitsim_)" AND NOT d MATCHES "::")
            list(APPEND existing ${d})
        endif()
    endforeach()
    target_link_libraries(${name} PUBLIC ${existing})
endfunction()

function(zarvo_test name)
    cmake_parse_arguments(A "NATIVE;WIN;WINDOWED;SERIAL;FOCUS" "TIMEOUT" "SOURCES;DEPS;WRAPPER" ${ARGN})
    if(ZARVO_CONFIG STREQUAL "fuzz")
        return()
    endif()
    if(ZARVO_CONFIG STREQUAL "native" AND NOT A_NATIVE)
        return()
    endif()
    if(ZARVO_CONFIG STREQUAL "win" AND NOT A_WIN)
        return()
    endif()
    add_executable(${name} ${A_SOURCES})
    target_compile_options(${name} PRIVATE ${ZARVO_WARNINGS})
    target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
    target_link_libraries(${name} PRIVATE ${A_DEPS} zarvo_test_trees GTest::gtest GTest::gtest_main)
    if(ZARVO_CONFIG STREQUAL "win")
        add_test(NAME ${name} COMMAND ${A_WRAPPER} ${CMAKE_SOURCE_DIR}/scripts/wine-run
                 $<TARGET_FILE:${name}>)
        set_property(GLOBAL PROPERTY ZARVO_TEST_WRAPPER_${name} "${A_WRAPPER}")
    else()
        add_test(NAME ${name} COMMAND ${A_WRAPPER} $<TARGET_FILE:${name}>)
    endif()
    set(labels ${ZARVO_CONFIG})
    if(A_WINDOWED)
        list(APPEND labels windowed)
    endif()
    set_tests_properties(${name} PROPERTIES LABELS "${labels}"
        ENVIRONMENT "ZARVO_SOURCE_DIR=${CMAKE_SOURCE_DIR};ZARVO_BINARY_DIR=${CMAKE_BINARY_DIR}")
    if(A_SERIAL)
        set_tests_properties(${name} PROPERTIES RESOURCE_LOCK com_ports)
    endif()
    if(A_FOCUS)
        set_tests_properties(${name} PROPERTIES RUN_SERIAL TRUE)
    endif()
    if(A_TIMEOUT)
        set_tests_properties(${name} PROPERTIES TIMEOUT ${A_TIMEOUT})
    else()
        set_tests_properties(${name} PROPERTIES TIMEOUT 300)
    endif()
endfunction()

function(zarvo_test_on_windows_version version)
    if(NOT ZARVO_CONFIG STREQUAL "win")
        return()
    endif()
    foreach(name IN LISTS ARGN)
        if(NOT TEST ${name})
            message(SEND_ERROR "zarvo_test_on_windows_version: no Windows test ${name}")
            continue()
        endif()
        get_property(wrapper GLOBAL PROPERTY ZARVO_TEST_WRAPPER_${name})
        add_test(NAME ${name}_${version} COMMAND ${wrapper} ${CMAKE_SOURCE_DIR}/scripts/wine-run
                 $<TARGET_FILE:${name}>)
        foreach(property LABELS RESOURCE_LOCK RUN_SERIAL TIMEOUT)
            get_test_property(${name} ${property} value)
            if(value)
                set_tests_properties(${name}_${version} PROPERTIES ${property} "${value}")
            endif()
        endforeach()
        get_test_property(${name} ENVIRONMENT environment)
        set_tests_properties(${name}_${version} PROPERTIES
            ENVIRONMENT "${environment};ZARVO_WINE_VERSION=${version}")
    endforeach()
endfunction()

function(zarvo_fuzz name)
    cmake_parse_arguments(A "" "" "SOURCES;DEPS" ${ARGN})
    if(NOT ZARVO_CONFIG STREQUAL "fuzz")
        return()
    endif()
    add_executable(${name} ${A_SOURCES})
    target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
    target_link_libraries(${name} PRIVATE ${A_DEPS})
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    set_property(GLOBAL APPEND PROPERTY ZARVO_FUZZ_TARGETS ${name})
endfunction()

# A plain native program (benchmark or Linux tool); other configurations skip it.
function(zarvo_native_program name)
    cmake_parse_arguments(A "" "" "SOURCES;DEPS" ${ARGN})
    if(NOT ZARVO_CONFIG STREQUAL "native")
        return()
    endif()
    add_executable(${name} ${A_SOURCES})
    target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
    target_compile_options(${name} PRIVATE ${ZARVO_WARNINGS})
    target_link_libraries(${name} PRIVATE ${A_DEPS})
endfunction()

function(zarvo_bench name)
    zarvo_native_program(${name} ${ARGN})
endfunction()

function(zarvo_linux_tool name)
    zarvo_native_program(${name} ${ARGN})
endfunction()

# zarvo_folder_library(name [FILES pattern...] [EXCEPT pattern...] DEPS ... WIN_DEPS ...)
#   Like zarvo_library, for a folder whose sources are told apart by name:
#   Foo_win.cpp builds only for Windows, Foo_posix.cpp only natively, the rest everywhere.
#   FILES takes only the sources that match a pattern (default *.cpp), EXCEPT leaves out
#   those that do: a folder whose files stand in two layers builds two libraries.
function(zarvo_folder_library name)
    cmake_parse_arguments(A "" "" "FILES;EXCEPT;DEPS;WIN_DEPS" ${ARGN})
    if(NOT A_FILES)
        set(A_FILES *.cpp)
    endif()
    list(TRANSFORM A_FILES PREPEND ${CMAKE_CURRENT_SOURCE_DIR}/)
    file(GLOB all CONFIGURE_DEPENDS ${A_FILES})
    if(A_EXCEPT)
        list(TRANSFORM A_EXCEPT PREPEND ${CMAKE_CURRENT_SOURCE_DIR}/)
        file(GLOB left_out CONFIGURE_DEPENDS ${A_EXCEPT})
        list(REMOVE_ITEM all ${left_out})
    endif()
    set(portable)
    set(win)
    set(posix)
    foreach(f IN LISTS all)
        if(f MATCHES "_win\\.cpp$")
            list(APPEND win ${f})
        elseif(f MATCHES "_posix\\.cpp$")
            list(APPEND posix ${f})
        else()
            list(APPEND portable ${f})
        endif()
    endforeach()
    if(NOT ZARVO_CONFIG STREQUAL "win")
        list(APPEND portable ${posix})
    endif()
    zarvo_library(${name} SOURCES ${portable} WIN_SOURCES ${win} DEPS ${A_DEPS} WIN_DEPS ${A_WIN_DEPS})
endfunction()
