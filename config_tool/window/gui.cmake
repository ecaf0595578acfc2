# The main window and the Qt implementations of the UI services.
target_sources(tarn_gui PRIVATE
    ${CMAKE_CURRENT_SOURCE_DIR}/window/ComPortIterator.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/window/ControlValues.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/window/DigitsOnlyKeyFilter.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/window/ListClickNotifier.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/window/QtUiServices.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/window/QtWindowServices.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/window/TarnConf.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/window/TarnConfBehaviour.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/window/TarnConfBinding.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/window/TarnConfPlainSettings.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/window/TarnConfEdits.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/window/TarnConfLayout.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/window/TarnConfLoad.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/window/TarnConfSave.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/window/TarnConfProvisioning.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/window/WindowColor.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/window/resources/tarnconf.qrc
)
