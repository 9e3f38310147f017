# The world and creature reader with everything it calls, compiled into the
# fuzz target and the corpus check directly so that all of it carries the
# sanitizers (and, in the fuzz target, libFuzzer's coverage). Those link
# nlohmann_json::nlohmann_json for the strict JSON reading.
find_package(nlohmann_json 3 REQUIRED)
set(world_reader_sources
  ${PROJECT_SOURCE_DIR}/world/world_document.cpp
  ${PROJECT_SOURCE_DIR}/shape/creature_bounds.cpp
  ${PROJECT_SOURCE_DIR}/shape/parameter_table.cpp
  ${PROJECT_SOURCE_DIR}/shape/shape_file.cpp
  ${PROJECT_SOURCE_DIR}/shape/shape_random.cpp
  ${PROJECT_SOURCE_DIR}/shape/super_formula.cpp
  ${PROJECT_SOURCE_DIR}/shape/whole_file.cpp
  ${PROJECT_SOURCE_DIR}/texture/graph/json_reader.cpp)
