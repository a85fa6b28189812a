# Finds zlib, libpng and Boost.Regex (headers) for the current configuration.
# Each becomes an imported target: zarvo::zlib, zarvo::png, zarvo::boost.

if(WIN32)
    set(ZARVO_MINGW_ROOT /usr/x86_64-w64-mingw32)
    add_library(zarvo::zlib STATIC IMPORTED GLOBAL)
    set_target_properties(zarvo::zlib PROPERTIES
        IMPORTED_LOCATION ${ZARVO_MINGW_ROOT}/lib/libz.a
        INTERFACE_INCLUDE_DIRECTORIES ${ZARVO_MINGW_ROOT}/include)

    set(ZARVO_PNG_PREFIX ${CMAKE_SOURCE_DIR}/build/deps/libpng-win)
    if(NOT EXISTS ${ZARVO_PNG_PREFIX}/lib/libpng16.a)
        message(FATAL_ERROR "libpng for Windows is missing; run scripts/setup")
    endif()
    add_library(zarvo::png STATIC IMPORTED GLOBAL)
    set_target_properties(zarvo::png PROPERTIES
        IMPORTED_LOCATION ${ZARVO_PNG_PREFIX}/lib/libpng16.a
        INTERFACE_INCLUDE_DIRECTORIES ${ZARVO_PNG_PREFIX}/include
        INTERFACE_LINK_LIBRARIES zarvo::zlib)

    # The cross compiler must not see /usr/include as a whole: give it a folder
    # whose only entry is the Boost headers.
    set(ZARVO_BOOST_DIR ${CMAKE_BINARY_DIR}/boost-include)
    if(NOT EXISTS ${ZARVO_BOOST_DIR}/boost)
        file(MAKE_DIRECTORY ${ZARVO_BOOST_DIR})
        file(CREATE_LINK /usr/include/boost ${ZARVO_BOOST_DIR}/boost SYMBOLIC)
    endif()
    add_library(zarvo::boost INTERFACE IMPORTED GLOBAL)
    set_target_properties(zarvo::boost PROPERTIES INTERFACE_INCLUDE_DIRECTORIES ${ZARVO_BOOST_DIR})
else()
    find_package(ZLIB REQUIRED)
    find_package(PNG REQUIRED)
    add_library(zarvo::zlib INTERFACE IMPORTED GLOBAL)
    target_link_libraries(zarvo::zlib INTERFACE ZLIB::ZLIB)
    add_library(zarvo::png INTERFACE IMPORTED GLOBAL)
    target_link_libraries(zarvo::png INTERFACE PNG::PNG)
    add_library(zarvo::boost INTERFACE IMPORTED GLOBAL)
endif()
