# Compiler settings shared by every target of the project, and the helpers
# that declare libraries, shipped binaries and test programs.

add_library(zebl_options INTERFACE)
target_compile_options(zebl_options INTERFACE -Wall -Wextra -Wshadow -Wno-missing-field-initializers)
if(ZEBL_WERROR)
    target_compile_options(zebl_options INTERFACE -Werror)
endif()
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    # Once the standard containers are inlined at -O2 and above, GCC 12 reports
    # impossible overlaps and out-of-bounds copies inside std::basic_string and
    # std::vector (GCC bugs 105329, 107852). They say nothing about our code;
    # the sanitizer build checks the real bounds. Debug builds keep them.
    target_compile_options(zebl_options INTERFACE -Wno-restrict
        $<$<NOT:$<CONFIG:Debug>>:-Wno-array-bounds -Wno-stringop-overflow -Wno-stringop-overread>)
endif()
if(ZEBL_FUZZ AND NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "ZEBL_FUZZ needs clang and its libFuzzer (use the fuzz preset)")
endif()
# The fuzzing build compiles every target with the sanitizers and links
# their runtime into every program: the harnesses get libFuzzer on top
# (fuzz/), the zebl tool and the other programs run as sanitized programs.
if(ZEBL_SANITIZE OR ZEBL_FUZZ)
    target_compile_options(zebl_options INTERFACE -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    target_link_options(zebl_options INTERFACE -fsanitize=address,undefined)
endif()
# ThreadSanitizer, for the tests of documents printed at the same time on
# several threads. -O1 keeps the instrumented runs quick enough for CI.
option(ZEBL_SANITIZE_THREAD "Build with ThreadSanitizer" OFF)
if(ZEBL_SANITIZE_THREAD)
    if(ZEBL_SANITIZE)
        message(FATAL_ERROR "ThreadSanitizer cannot be combined with ZEBL_SANITIZE")
    endif()
    target_compile_options(zebl_options INTERFACE -fsanitize=thread -fno-omit-frame-pointer -O1)
    target_link_options(zebl_options INTERFACE -fsanitize=thread)
endif()
if(WIN32)
    # The shipped binaries carry their runtime: nothing beyond the system DLLs.
    target_compile_definitions(zebl_options INTERFACE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0500 WINVER=0x0500)
    target_link_options(zebl_options INTERFACE -static -static-libgcc -static-libstdc++)
endif()

# Implicit conversions that may change a value or its sign are errors in the
# code that reads and writes byte formats (display lists, settings records,
# printer streams, compressed planes), where a silent truncation is a wrong
# byte. Every build checks it (size_t is 32 bits in the Windows build).
set(ZEBL_STRICT_CONVERSIONS -Wconversion -Wsign-conversion)

# zebl_strict_conversions(target): for all of a target's own sources.
function(zebl_strict_conversions target)
    target_compile_options(${target} PRIVATE ${ZEBL_STRICT_CONVERSIONS})
endfunction()

# zebl_strict_conversion_sources(file...): for these sources only (paths
# relative to the calling CMakeLists.txt).
function(zebl_strict_conversion_sources)
    set_property(SOURCE ${ARGN} APPEND PROPERTY COMPILE_OPTIONS ${ZEBL_STRICT_CONVERSIONS})
endfunction()

set(ZEBL_IMPORT_CHECK ${CMAKE_CURRENT_LIST_DIR}/check-imports.sh)
set(ZEBL_IMPORT_TABLE ${CMAKE_CURRENT_LIST_DIR}/windows-imports.txt)
set(ZEBL_WINDOWS_VERSIONS 95 98 Me NT4 2000 XP 2003 Vista 7 8 10)

# zebl_ship(target oldest_windows [REQUIRES_DLL dll...]): a binary that goes
# into the package and the oldest Windows it must run on (one of
# ZEBL_WINDOWS_VERSIONS; a module must run wherever the binaries that load
# it run). In the win32 build every function it imports is checked after
# each link against the allow-list windows-imports.txt: an unlisted function,
# or one newer than that Windows, fails the build. REQUIRES_DLL names a DLL
# that the binary needs installed where that Windows lacks it (the C
# runtime on Windows 95 as first sold): its functions must be listed, but
# their Windows is not held against oldest_windows.
function(zebl_ship target oldest_windows)
    cmake_parse_arguments(PARSE_ARGV 2 ship "" "" "REQUIRES_DLL")
    if(NOT oldest_windows IN_LIST ZEBL_WINDOWS_VERSIONS)
        message(FATAL_ERROR "zebl_ship(${target} ${oldest_windows}): the oldest Windows must be one of ${ZEBL_WINDOWS_VERSIONS}")
    endif()
    set(requires)
    foreach(dll IN LISTS ship_REQUIRES_DLL)
        list(APPEND requires --requires-dll ${dll})
    endforeach()
    if(WIN32 AND ZEBL_CHECK_IMPORTS)
        add_custom_command(TARGET ${target} POST_BUILD
            COMMAND ${ZEBL_IMPORT_CHECK} ${requires} ${CMAKE_OBJDUMP} ${ZEBL_IMPORT_TABLE} ${oldest_windows}
                    $<TARGET_FILE:${target}>
            COMMENT "Checking the imports of ${target} against Windows ${oldest_windows}"
            VERBATIM)
        set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${ZEBL_IMPORT_TABLE})
    endif()
endfunction()

# zebl_ship_for_windows_95(target): a program or module of the installer
# that must start on Windows 95. The static runtime's W imports are handed
# to the A forms (zsys_ansi_runtime); the C runtime msvcrt.dll must be on
# the machine, which Windows 95 as first sold is not sure to have.
function(zebl_ship_for_windows_95 target)
    target_link_libraries(${target} PRIVATE zsys_ansi_runtime)
    zebl_ship(${target} 95 REQUIRES_DLL msvcrt.dll)
endfunction()
