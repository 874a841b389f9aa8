# pugixml and rapidjson from Debian's packages. Natively they are found as
# installed; for MinGW, pugixml is compiled from Debian's source package and
# rapidjson is reached through an include folder that holds nothing else.
# The fuzz build also compiles pugixml from source, so that the parser is
# instrumented along with our code.
add_library(brisvane_deps INTERFACE)

if(WIN32 OR BRISVANE_FUZZ)
  set(BRISVANE_PUGIXML_SOURCE "" CACHE PATH "Folder holding pugixml.cpp (Debian source package)")
  if(NOT BRISVANE_PUGIXML_SOURCE)
    file(GLOB _pugi_dirs /var/cache/brisvane-src/pugixml-*/src)
    list(GET _pugi_dirs 0 BRISVANE_PUGIXML_SOURCE)
  endif()
  if(NOT EXISTS "${BRISVANE_PUGIXML_SOURCE}/pugixml.cpp")
    message(FATAL_ERROR "pugixml source not found; run scripts/install-deps.sh")
  endif()
  set(_pugi_dir ${CMAKE_BINARY_DIR}/deps/pugixml)
  foreach(f pugixml.cpp pugixml.hpp pugiconfig.hpp)
    configure_file(${BRISVANE_PUGIXML_SOURCE}/${f} ${_pugi_dir}/${f} COPYONLY)
  endforeach()
  add_library(pugixml_from_source STATIC ${_pugi_dir}/pugixml.cpp)
  target_include_directories(pugixml_from_source SYSTEM PUBLIC ${_pugi_dir})
  if(WIN32)
    target_compile_options(pugixml_from_source PRIVATE -msse2 -mfpmath=sse)
    # The DLL reads documents by name only: no XPath engine, and no
    # std::string or stream overloads (they pull iostreams into the module).
    target_compile_definitions(pugixml_from_source PUBLIC PUGIXML_NO_XPATH PUGIXML_NO_STL)
  endif()
  target_link_libraries(brisvane_deps INTERFACE pugixml_from_source)
endif()

if(WIN32)
  set(_rj_dir ${CMAKE_BINARY_DIR}/deps/rapidjson-include)
  file(MAKE_DIRECTORY ${_rj_dir})
  if(NOT EXISTS ${_rj_dir}/rapidjson)
    file(CREATE_LINK /usr/include/rapidjson ${_rj_dir}/rapidjson SYMBOLIC)
  endif()
  target_include_directories(brisvane_deps SYSTEM INTERFACE ${_rj_dir})
else()
  if(NOT BRISVANE_FUZZ)
    find_package(pugixml REQUIRED)
    target_link_libraries(brisvane_deps INTERFACE pugixml::pugixml)
  endif()
  find_package(RapidJSON REQUIRED)
endif()

# Replies may nest as deep as they are long (up to the 1 MiB reply limit);
# rapidjson's recursive parser would need a stack frame per level and overflow
# the host thread's stack. The iterative parser accepts exactly the same texts.
target_compile_definitions(brisvane_deps INTERFACE RAPIDJSON_PARSE_DEFAULT_FLAGS=kParseIterativeFlag)
