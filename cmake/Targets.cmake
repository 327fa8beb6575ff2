# How the project's targets are made, so that every library, program and test
# gets the same settings without repeating them:
#
#   relvano_library(NAME [WIDGETS] SOURCES ... [LINK ...])
#       a static library of the program's own code: the shared settings, the
#       strict text conversions, and the precompiled headers of its layer
#   relvano_executable(NAME [WIDGETS] SOURCES ... [LINK ...])
#       the same for a program
#
# Precompiled headers: the Qt and standard headers every file includes are
# compiled once per set and reused (REUSE_FROM) by every target of that set.
# A reusing target must have the same flags and definitions as the one that
# compiled the set, so each set has a small holder target with exactly the
# usage requirements of its users.

set(RELVANO_PCH_CORE
  <QByteArray> <QDateTime> <QDir> <QFile> <QFileInfo> <QHash> <QList> <QMap> <QObject>
  <QSet> <QString> <QStringList> <QTimer> <QVariant>
  <algorithm> <functional> <memory> <optional> <utility> <vector>)
set(RELVANO_PCH_WIDGETS ${RELVANO_PCH_CORE}
  <QAction> <QApplication> <QBoxLayout> <QCheckBox> <QDialog> <QKeyEvent> <QLabel> <QLineEdit>
  <QMenu> <QPainter> <QPushButton> <QStyle> <QToolBar> <QTreeWidget> <QWidget>)

option(RELVANO_PCH "Precompile the Qt and standard headers" ON)

# The holder of one header set: an empty library with the given usage
# requirements that compiles the set.
function(relvano_pch_holder holder headers)
  if(TARGET ${holder})
    return()
  endif()
  set(source ${CMAKE_CURRENT_BINARY_DIR}/${holder}.cpp)
  if(NOT EXISTS ${source})
    file(WRITE ${source} "// Compiles the precompiled headers of ${holder}.\n")
  endif()
  add_library(${holder} STATIC ${source})
  target_link_libraries(${holder} PRIVATE ${ARGN})
  target_include_directories(${holder} PRIVATE ${PROJECT_SOURCE_DIR})
  target_precompile_headers(${holder} PRIVATE ${headers})
endfunction()

# Gives target the precompiled headers of its kind: CORE or WIDGETS, strict
# (the program's code) or not (tests).
function(relvano_use_pch target kind strict)
  if(NOT RELVANO_PCH)
    return()
  endif()
  if(kind STREQUAL "WIDGETS")
    set(headers ${RELVANO_PCH_WIDGETS})
    set(links relvano_build Qt6::Widgets Qt6::PrintSupport)
  else()
    set(headers ${RELVANO_PCH_CORE})
    set(links relvano_build Qt6::Core)
  endif()
  string(TOLOWER ${kind} holder)
  set(holder relvano_pch_${holder})
  if(strict)
    list(APPEND links relvano_strict)
  else()
    set(holder ${holder}_tests)
  endif()
  relvano_pch_holder(${holder} "${headers}" ${links} ${ARGN})
  target_precompile_headers(${target} REUSE_FROM ${holder})
endfunction()

function(relvano_library name)
  cmake_parse_arguments(T "WIDGETS" "" "SOURCES;LINK" ${ARGN})
  add_library(${name} STATIC ${T_SOURCES})
  target_link_libraries(${name} PUBLIC ${T_LINK} PRIVATE relvano_strict)
  if(T_WIDGETS)
    relvano_use_pch(${name} WIDGETS ON)
  else()
    relvano_use_pch(${name} CORE ON)
  endif()
endfunction()

function(relvano_executable name)
  cmake_parse_arguments(T "WIDGETS" "" "SOURCES;LINK" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LINK} relvano_strict)
endfunction()
