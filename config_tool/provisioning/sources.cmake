target_sources(tarn_core PRIVATE
    ${CMAKE_CURRENT_SOURCE_DIR}/provisioning/CopyFolder.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/provisioning/CreatedPaths.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/provisioning/NewInstance.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/provisioning/UpgradeLauncher.cpp
)
