# Build-wide settings and the helpers every folder's CMakeLists uses.

# GCC 12 reports -Wrestrict for plain std::u16string concatenation once it
# inlines deeply (its bug 105329): a false alarm that would fail every build.
set(PELLION_WARNINGS -Wall -Wextra -Werror -Wno-restrict)

# The shipped programs are i686 builds. This machine's kernel runs no 32-bit
# code, so the Windows-side tests run an x86-64 build of the same sources under
# the 64-bit Wine loader; the i686 build is checked for its form only.
if(WIN32 AND CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(PELLION_WINE_TESTS ON)
else()
    set(PELLION_WINE_TESTS OFF)
endif()

if(WIN32)
    add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
    # Static runtime: the programs need only system DLLs. Stripped: the engine
    # reads what is appended after its image, and a symbol table would sit there.
    add_link_options(-static -static-libgcc -static-libstdc++ -s)
    set(PELLION_WINE_STATE ${CMAKE_BINARY_DIR}/wine)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/tests/wine/run;${PELLION_WINE_STATE})
    set(PELLION_MANIFEST ${CMAKE_SOURCE_DIR}/cmake/program.manifest)
else()
    set(PELLION_SANITIZERS -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    add_compile_options(${PELLION_SANITIZERS})
    add_link_options(${PELLION_SANITIZERS})
endif()

# A library of our own code; portable sources build everywhere, Windows sources
# only in the win32 build.
function(pellion_library name)
    cmake_parse_arguments(ARG "" "" "PORTABLE;WINDOWS;DEPENDS;WINDOWS_DEPENDS" ${ARGN})
    set(sources ${ARG_PORTABLE})
    if(WIN32)
        list(APPEND sources ${ARG_WINDOWS})
    endif()
    add_library(${name} STATIC ${sources})
    target_compile_options(${name} PRIVATE ${PELLION_WARNINGS})
    target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARG_DEPENDS})
    if(WIN32)
        target_link_libraries(${name} PUBLIC ${ARG_WINDOWS_DEPENDS})
    endif()
endfunction()

# A GUI program with the common-controls-6 / asInvoker manifest embedded.
function(pellion_gui_program name)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
    set(rc ${CMAKE_CURRENT_BINARY_DIR}/${name}_manifest.rc)
    file(WRITE ${rc} "1 24 \"${PELLION_MANIFEST}\"\n")
    add_executable(${name} WIN32 ${ARG_SOURCES} ${rc})
    target_compile_options(${name} PRIVATE ${PELLION_WARNINGS})
    target_link_options(${name} PRIVATE -municode)
    target_link_libraries(${name} PRIVATE ${ARG_DEPENDS})
endfunction()

# A GoogleTest program. Host: one CTest test per case. win32: one CTest test
# per program, run through Wine inside the test session's prefix.
function(pellion_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
    if(WIN32 AND NOT PELLION_WINE_TESTS)
        return()
    endif()
    add_executable(${name} ${ARG_SOURCES})
    target_compile_options(${name} PRIVATE ${PELLION_WARNINGS})
    target_link_libraries(${name} PRIVATE ${ARG_DEPENDS} GTest::gtest_main)
    if(WIN32)
        add_test(NAME ${name} COMMAND ${name})
        pellion_wine_test_properties(${name})
    else()
        gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
    endif()
endfunction()

# A test that needs the Wine session (prefix, persistent wineserver, display).
function(pellion_wine_test_properties name)
    set_tests_properties(${name} PROPERTIES
        FIXTURES_REQUIRED wine_session
        ENVIRONMENT "PELLION_WINE_STATE=${PELLION_WINE_STATE};PELLION_BIN=${CMAKE_BINARY_DIR}/bin;PELLION_HOST_BIN=${CMAKE_BINARY_DIR}/../host/bin;PELLION_SOURCE=${CMAKE_SOURCE_DIR}"
        TIMEOUT 300)
endfunction()

# A shell-script test of Windows programs (drives Wine itself).
function(pellion_wine_script_test name script)
    if(NOT PELLION_WINE_TESTS)
        return()
    endif()
    add_test(NAME ${name} COMMAND bash ${script} ${ARGN})
    pellion_wine_test_properties(${name})
endfunction()

if(PELLION_WINE_TESTS)
    # GoogleTest from Debian's sources, built with the cross compiler.
    set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    if(NOT TARGET GTest::gtest_main)
        add_library(GTest::gtest_main ALIAS gtest_main)
    endif()
elseif(NOT WIN32)
    find_package(GTest REQUIRED)
    include(GoogleTest)
endif()
