# The program: main.cpp opens the login window; ProgramWindows leads from it to the main window and
# ends the program.
target_sources(tarn_gui PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/app/ProgramWindows.cpp)

add_executable(TarnConfig ${CMAKE_CURRENT_SOURCE_DIR}/app/main.cpp)
# A window program on Windows: no console comes with it.
set_target_properties(TarnConfig PROPERTIES WIN32_EXECUTABLE ON)
target_link_libraries(TarnConfig PRIVATE tarn_gui)
orvant_set_warnings(TarnConfig)
