# The login and change-password windows and the road from one window to the next. Included by
# config_tool/CMakeLists.txt after window/gui.cmake, which creates tarn_gui.
target_sources(tarn_gui PRIVATE
    ${CMAKE_CURRENT_SOURCE_DIR}/access/AccessWindowSupport.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/access/AccessWindowSupport.h
    ${CMAKE_CURRENT_SOURCE_DIR}/access/ProgramWindows.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/access/ProgramWindows.h
    ${CMAKE_CURRENT_SOURCE_DIR}/access/frmChangeUser.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/access/frmChangeUser.h
    ${CMAKE_CURRENT_SOURCE_DIR}/access/frmLogIn.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/access/frmLogIn.h
    ${CMAKE_CURRENT_SOURCE_DIR}/access/resources/access.qrc
)
