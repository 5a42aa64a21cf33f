# Checks that every folder includes only the folders it stands on.
# Run as: cmake -DROOT=<source dir> -DWIDGET_HEADERS=<QtWidgets include dir> -P check_layers.cmake
# A folder may include its own headers and those of the folders listed after
# it; an entry names a folder and everything under it. The floors below
# `widgets` build without Qt Widgets and may not include its headers either.

cmake_minimum_required(VERSION 3.25)

set(layers
  "base|"
  "model/rom|base"
  "model/catalogue|base model/rom"
  "model/map|base model/rom model/catalogue"
  "model/events|base model/rom model/catalogue"
  "model/encounters|base model/rom model/catalogue"
  "model/patches|base model/rom model/catalogue"
  "model/tiled|base model/rom model/catalogue model/map model/events"
  "session|base model"
  "script|base model session"
  "widgets|base"
  "cli|base model session script"
  "ui/map|base model session widgets"
  "ui/events|base model session widgets"
  "ui/encounters|base model session widgets"
  "ui/patches|base model session widgets"
  "ui/main|base model session script widgets ui"
  "kartola|base model session script widgets cli ui"
  "tools|base model ui/main"
  "bench|base model session script widgets ui"
  "fuzz|base model session"
  "tests/support|base"
  "tests/base|base tests/support"
  "tests/model|base model tests/support"
  "tests/session|base model session tests/support"
  "tests/script|base model session script tests/support"
  "tests/cli|base model session script cli tests/support"
  "tests/widgets|base widgets tests/support"
  "tests/ui|base model session script widgets cli ui tests/support tests/ui_support"
  "tests/ui_support|base model session script widgets ui tests/support"
  "tests/window|base model session script widgets ui tests/support"
)
set(widget_free base model session script cli fuzz tests/support tests/base tests/model tests/session tests/script tests/cli)

# The layer a path such as "model/map/x.h" or "tests/ui/y.cpp" belongs to.
function(layer_of path out)
  set(best "")
  foreach(entry IN LISTS layers)
    string(REPLACE "|" ";" parts "${entry}")
    list(GET parts 0 name)
    string(LENGTH "${name}" len)
    string(LENGTH "${best}" bestlen)
    if("${path}/" MATCHES "^${name}/" AND len GREATER bestlen)
      set(best "${name}")
    endif()
  endforeach()
  set(${out} "${best}" PARENT_SCOPE)
endfunction()

function(allowed_of layer out)
  foreach(entry IN LISTS layers)
    string(REPLACE "|" ";" parts "${entry}")
    list(GET parts 0 name)
    if(name STREQUAL layer)
      list(LENGTH parts n)
      set(list "")
      if(n GREATER 1)
        list(GET parts 1 list)
        string(REPLACE " " ";" list "${list}")
      endif()
      set(${out} "${list}" PARENT_SCOPE)
      return()
    endif()
  endforeach()
  set(${out} "" PARENT_SCOPE)
endfunction()

file(GLOB widget_header_names RELATIVE "${WIDGET_HEADERS}" "${WIDGET_HEADERS}/Q*")
file(GLOB_RECURSE sources RELATIVE "${ROOT}" "${ROOT}/src/*.h" "${ROOT}/src/*.cpp"
     "${ROOT}/tests/*.h" "${ROOT}/tests/*.cpp"
     "${ROOT}/tools/*.h" "${ROOT}/tools/*.cpp" "${ROOT}/bench/*.h" "${ROOT}/bench/*.cpp"
     "${ROOT}/fuzz/*.h" "${ROOT}/fuzz/*.cpp")
set(problems "")
foreach(source IN LISTS sources)
  string(REGEX REPLACE "^src/" "" path "${source}")
  layer_of("${path}" layer)
  if(layer STREQUAL "")
    string(APPEND problems "${source}: in no layer\n")
    continue()
  endif()
  allowed_of("${layer}" allowed)
  list(FIND widget_free "${layer}" no_widgets)
  if(layer MATCHES "^model/")
    list(FIND widget_free model no_widgets)
  endif()
  file(STRINGS "${ROOT}/${source}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
  foreach(line IN LISTS includes)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[<\"]([^>\"]+)[>\"].*" "\\1" header "${line}")
    if(no_widgets GREATER -1)
      string(REGEX REPLACE "^QtWidgets/" "" bare "${header}")
      list(FIND widget_header_names "${bare}" widget)
      if(widget GREATER -1 OR header MATCHES "^QtWidgets/")
        string(APPEND problems "${source}: ${layer} includes the widget header <${header}>\n")
      endif()
    endif()
    # Where the compiler finds the header: a quoted include beside the
    # including file first, then under src/ and tests/. The path is resolved,
    # so "../../session/x.h" is judged by the folder it reaches.
    get_filename_component(source_dir "${ROOT}/${source}" DIRECTORY)
    set(places "${ROOT}/src" "${ROOT}/tests")
    if(line MATCHES "\"")
      list(PREPEND places "${source_dir}")
    endif()
    set(target "")
    foreach(place IN LISTS places)
      get_filename_component(found "${place}/${header}" ABSOLUTE)
      if(EXISTS "${found}" AND NOT IS_DIRECTORY "${found}")
        file(RELATIVE_PATH target "${ROOT}" "${found}")
        string(REGEX REPLACE "^src/" "" target "${target}")
        break()
      endif()
    endforeach()
    if(target STREQUAL "" OR target MATCHES "^\\.\\./")
      continue()
    endif()
    layer_of("${target}" target_layer)
    if(target_layer STREQUAL layer)
      continue()
    endif()
    set(ok FALSE)
    foreach(a IN LISTS allowed)
      if("${target_layer}/" MATCHES "^${a}/")
        set(ok TRUE)
      endif()
    endforeach()
    if(NOT ok)
      string(APPEND problems "${source}: ${layer} includes ${header} of ${target_layer}\n")
    endif()
  endforeach()
endforeach()

if(NOT problems STREQUAL "")
  message(FATAL_ERROR "Includes across the layers:\n${problems}")
endif()
