# The TarnConfig program: main.cpp opens the login window; everything else is in tarn_gui.
add_executable(TarnConfig ${CMAKE_CURRENT_SOURCE_DIR}/main.cpp)
# A window program on Windows: no console comes with it.
set_target_properties(TarnConfig PROPERTIES WIN32_EXECUTABLE ON)
target_link_libraries(TarnConfig PRIVATE tarn_gui)
orvant_set_warnings(TarnConfig)
