# nlohmann/json, header-only, from Debian's nlohmann-json3-dev: tarnctl's JSON documents. The Windows build
# uses the same headers: a copy of their folder goes on its include path, never /usr/include itself, whose
# C library headers are Linux's.
if(WIN32 AND CMAKE_CROSSCOMPILING)
    find_path(ORVANT_NLOHMANN_JSON_DIR nlohmann/json.hpp PATHS /usr/include NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
    if(NOT ORVANT_NLOHMANN_JSON_DIR)
        message(FATAL_ERROR "nlohmann/json.hpp not found: run scripts/install-deps.sh (nlohmann-json3-dev)")
    endif()
    file(COPY "${ORVANT_NLOHMANN_JSON_DIR}/nlohmann" DESTINATION "${CMAKE_BINARY_DIR}/nlohmann-json")
    add_library(nlohmann_json INTERFACE)
    target_include_directories(nlohmann_json SYSTEM INTERFACE "${CMAKE_BINARY_DIR}/nlohmann-json")
    add_library(nlohmann_json::nlohmann_json ALIAS nlohmann_json)
else()
    # GLOBAL: the tests of tarnctl read its JSON with it too.
    find_package(nlohmann_json 3.11 REQUIRED GLOBAL)
endif()
