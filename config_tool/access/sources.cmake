target_sources(tarn_core PRIVATE
    ${CMAKE_CURRENT_SOURCE_DIR}/access/LoginCheck.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/access/PasswordChange.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/access/UserManagement.cpp
)
