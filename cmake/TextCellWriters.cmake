# Passes only when no source outside the cell store and files/entry_cells
# writes a text cell's record: gives a cell the text type (kCellText) other
# than to compare with it. A text becomes a cell by one road, which keeps its
# letters in the script of the cell's font.
#   cmake -DSOURCE_DIR=... [-DFILES=a.cpp;b.cpp] -P TextCellWriters.cmake
# With FILES, only those files are looked through (the check's probe).
cmake_policy(SET CMP0007 NEW)
set(allowed "^(model/cell_store[^/]*|model/cell_record\\.h|files/entry_cells\\.(cpp|h))$")
if(FILES)
  set(sources ${FILES})
else()
  file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/*.cpp ${SOURCE_DIR}/*.h)
  list(FILTER sources EXCLUDE REGEX "^(build[^/]*|tests|fuzz|bench|tools)/")
endif()
set(writers "")
foreach(source IN LISTS sources)
  if(source MATCHES "${allowed}")
    continue()
  endif()
  file(STRINGS ${SOURCE_DIR}/${source} lines REGEX "kCellText")
  foreach(line IN LISTS lines)
    # Reading a cell's type: a comparison or a case of a switch.
    string(REGEX REPLACE "[=!]=[ ]*kCellText|kCellText[ ]*[=!]=|case[ ]+kCellText" "" written "${line}")
    # A value handed to that road (FileValueCell::type), and a display
    # record's format (model/display_text.cpp), are no cell records.
    string(REGEX REPLACE "\\.type[ ]*=[ ]*kCellText" "" written "${written}")
    string(REGEX REPLACE "info->format\\.bytes\\[kFmtCellType\\][ ]*=[ ]*kCellText" "" written "${written}")
    if(written MATCHES "kCellText")
      string(STRIP "${line}" line)
      string(REPLACE ";" "" line "${line}")
      list(APPEND writers "${source}: ${line}")
    endif()
  endforeach()
endforeach()
if(writers)
  list(JOIN writers "\n  " listed)
  message(FATAL_ERROR "text cell records written outside the cell store and files/entry_cells:\n  ${listed}")
endif()
