# Compiles resources/*.txt into the bundle linked into quorvin_engine: a generated C++ source
# holding the bytes, a header declaring resource_bundle_data() and resource_bundle_size(), and
# resource_ids.h naming the ids of the resources given a symbol (every menu, string list, alert and
# dialog must have one).
file(GLOB RESOURCE_TEXTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/*.txt)
set(RESOURCE_GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)
set(RESOURCE_BUNDLE_CPP ${RESOURCE_GENERATED_DIR}/resource_bundle.cpp)
set(RESOURCE_BUNDLE_H ${RESOURCE_GENERATED_DIR}/resource_bundle.h)
set(RESOURCE_IDS_H ${RESOURCE_GENERATED_DIR}/resource_ids.h)
add_custom_command(
  OUTPUT ${RESOURCE_BUNDLE_CPP} ${RESOURCE_BUNDLE_H} ${RESOURCE_IDS_H}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${RESOURCE_GENERATED_DIR}
  COMMAND rescomp --cpp ${RESOURCE_BUNDLE_CPP} --header ${RESOURCE_BUNDLE_H} --ids ${RESOURCE_IDS_H} --require-symbols
          ${RESOURCE_TEXTS}
  DEPENDS rescomp ${RESOURCE_TEXTS}
  COMMENT "Compiling resources/*.txt"
  VERBATIM)
