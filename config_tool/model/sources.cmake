target_sources(tarn_core PRIVATE
    ${CMAKE_CURRENT_SOURCE_DIR}/model/Checks.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/model/Choices.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/model/ConfigValues.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/model/ConfigurationLayout.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/model/FieldRules.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/model/InstanceFolders.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/model/InstanceNaming.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/model/LayoutValues.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/model/PinPadModels.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/model/StoredValues.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/model/WindowSize.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/model/XmlConfig.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/model/XmlFileLayout.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/model/XmlIndentation.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/model/XmlWellFormed.cpp
)
