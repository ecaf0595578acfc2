# The windows of TarnConfig and the Qt side of the UI services. Included by config_tool/CMakeLists.txt
# when the GUI is built.
find_package(Qt6 REQUIRED COMPONENTS Widgets PrintSupport Test)

add_library(tarn_gui STATIC)
target_sources(tarn_gui PRIVATE
    ${CMAKE_CURRENT_SOURCE_DIR}/window/ComPortIterator.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/window/ControlValues.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/window/DigitsOnlyKeyFilter.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/window/LeadingNumber.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/window/ListClickNotifier.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/window/QtUiServices.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/window/QtWindowServices.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/window/TarnConf.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/window/TarnConfBehaviour.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/window/TarnConfBinding.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/window/TarnConfLayout.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/window/TarnConfLoad.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/window/TarnConfSave.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/window/TarnConfProvisioning.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/window/WindowColor.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/window/resources/tarnconf.qrc
)
set_target_properties(tarn_gui PROPERTIES AUTOMOC ON AUTORCC ON)
target_include_directories(tarn_gui PUBLIC ${CMAKE_SOURCE_DIR})
# Imported Qt targets come in as system includes, so Qt's headers do not trip our warnings.
target_link_libraries(tarn_gui PUBLIC tarn_core Qt6::Widgets Qt6::PrintSupport)
orvant_set_warnings(tarn_gui)

