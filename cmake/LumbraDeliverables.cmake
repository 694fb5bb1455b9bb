# The deliverables: Lumbra.exe (i686) and the colour-picker library PigmoDLLWx86/x64.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(LUMBRA_PIGMO_NAME PigmoDLLWx86)
else()
  set(LUMBRA_PIGMO_NAME PigmoDLLWx64)
endif()

file(GLOB _pigmo_srcs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/colourpicker/win32/dll/*.cpp)
if(_pigmo_srcs)
  set(_pigmo_rc "")
  if(EXISTS ${CMAKE_SOURCE_DIR}/resources/PigmoDLLW.rc)
    set(_pigmo_rc ${CMAKE_SOURCE_DIR}/resources/PigmoDLLW.rc)
  endif()
  add_library(${LUMBRA_PIGMO_NAME} SHARED ${_pigmo_srcs} ${_pigmo_rc})
  set_target_properties(${LUMBRA_PIGMO_NAME} PROPERTIES PREFIX "")
  target_link_libraries(${LUMBRA_PIGMO_NAME} PRIVATE win_colourpicker)
endif()

if(CMAKE_SIZEOF_VOID_P EQUAL 4 AND EXISTS ${CMAKE_SOURCE_DIR}/app/win32/WinMain.cpp)
  set(_rc "")
  if(EXISTS ${CMAKE_SOURCE_DIR}/resources/Lumbra.rc)
    set(_rc ${CMAKE_SOURCE_DIR}/resources/Lumbra.rc)
  endif()
  add_executable(Lumbra WIN32 ${CMAKE_SOURCE_DIR}/app/win32/WinMain.cpp ${_rc})
  target_include_directories(Lumbra PRIVATE ${CMAKE_SOURCE_DIR})
  # Folder libraries refer to each other both ways (the app opens consoles,
  # consoles read the app's preferences): link them as one group.
  target_link_libraries(Lumbra PRIVATE -Wl,--start-group ${LUMBRA_WIN_LIBS} -Wl,--end-group ${LUMBRA_WIN_SYSLIBS})
  target_link_options(Lumbra PRIVATE -municode)
  if(TARGET ${LUMBRA_PIGMO_NAME})
    target_link_libraries(Lumbra PRIVATE ${LUMBRA_PIGMO_NAME})
  endif()
  # The resource script finds its icons and manifest relative to resources/;
  # the version resource's debug flag follows the build type.
  target_include_directories(Lumbra PRIVATE ${CMAKE_SOURCE_DIR}/resources)
  target_compile_definitions(Lumbra PRIVATE $<$<CONFIG:Debug>:LUMBRA_DEBUG_BUILD>)

  # Integrity stamp: a host tool writes the SHA-256 of the linked image into
  # its stamp block; the program checks it at start-up.
  find_program(LUMBRA_HOST_CXX NAMES g++ c++ clang++ REQUIRED)
  set(_stamp_tool ${CMAKE_BINARY_DIR}/host/stampimage)
  set(_stamp_srcs ${CMAKE_SOURCE_DIR}/tools/stampimage/StampImage.cpp ${CMAKE_SOURCE_DIR}/app/LMImageStamp.cpp
                  ${CMAKE_SOURCE_DIR}/foundation/Sha256.cpp)
  add_custom_command(OUTPUT ${_stamp_tool}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/host
    COMMAND ${LUMBRA_HOST_CXX} -std=c++20 -O2 -I${CMAKE_SOURCE_DIR} ${_stamp_srcs} -o ${_stamp_tool}
    DEPENDS ${_stamp_srcs} ${CMAKE_SOURCE_DIR}/app/LMImageStamp.h ${CMAKE_SOURCE_DIR}/foundation/Sha256.h
    COMMENT "Building the host tool stampimage" VERBATIM)
  add_custom_target(lumbra_stampimage DEPENDS ${_stamp_tool})
  add_dependencies(Lumbra lumbra_stampimage)
  add_custom_command(TARGET Lumbra POST_BUILD
    COMMAND ${_stamp_tool} $<TARGET_FILE:Lumbra>
    COMMENT "Stamping Lumbra.exe" VERBATIM)
endif()
