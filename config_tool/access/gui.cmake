# The login and change-password windows.
target_sources(tarn_gui PRIVATE
    ${CMAKE_CURRENT_SOURCE_DIR}/access/AccessWindowSupport.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/access/frmChangeUser.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/access/frmLogIn.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/access/resources/access.qrc
)
