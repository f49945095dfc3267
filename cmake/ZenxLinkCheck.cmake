# Keeps the widget-free libraries widget-free: configuring fails when one of
# them reaches a forbidden Qt module through any of its link libraries, so a
# stray target_link_libraries cannot quietly pull a GUI into the exchange
# server or the test engine.

# Collects into OUT every library that TARGET links, directly or through
# other targets of this project.
function(zenx_link_closure target out)
  set(seen "")
  set(queue ${target})
  while(queue)
    list(POP_FRONT queue current)
    if(current IN_LIST seen)
      continue()
    endif()
    list(APPEND seen ${current})
    if(NOT TARGET ${current})
      continue()
    endif()
    get_target_property(aliased ${current} ALIASED_TARGET)
    if(aliased)
      list(APPEND queue ${aliased})
    endif()
    get_target_property(imported ${current} IMPORTED)
    if(imported)
      # Qt's own targets: Qt6::Widgets names Qt6::Gui, which names Qt6::Core.
      get_target_property(deps ${current} INTERFACE_LINK_LIBRARIES)
    else()
      get_target_property(type ${current} TYPE)
      if(type STREQUAL "INTERFACE_LIBRARY")
        get_target_property(deps ${current} INTERFACE_LINK_LIBRARIES)
      else()
        get_target_property(deps ${current} LINK_LIBRARIES)
      endif()
    endif()
    foreach(dep IN LISTS deps)
      # Generator expressions such as $<LINK_ONLY:x> wrap plain names.
      string(REGEX REPLACE "^\\$<LINK_ONLY:(.*)>$" "\\1" dep "${dep}")
      if(dep AND NOT dep MATCHES "^\\$<")
        list(APPEND queue ${dep})
      endif()
    endforeach()
  endwhile()
  set(${out} ${seen} PARENT_SCOPE)
endfunction()

# zenx_forbid_links(TARGETS t... MODULES m...): none of the targets may link
# any of the modules (given as Qt6::Gui and so on).
function(zenx_forbid_links)
  cmake_parse_arguments(F "" "" "TARGETS;MODULES" ${ARGN})
  foreach(target IN LISTS F_TARGETS)
    if(NOT TARGET ${target})
      message(FATAL_ERROR "zenx_forbid_links: no target ${target}")
    endif()
    zenx_link_closure(${target} closure)
    foreach(module IN LISTS F_MODULES)
      if(module IN_LIST closure)
        message(FATAL_ERROR "${target} must not link ${module} (it links: ${closure})")
      endif()
    endforeach()
  endforeach()
endfunction()

function(zenx_check_link_layers)
  # Qt Core at most.
  zenx_forbid_links(
    TARGETS zenx_platform_core zenx_recdb zenx_picarchive zenx_testcontent zenx_users_core
            zenx_exam zenx_results_core zenx_server zenx-exchange zenx_bankcheck
    MODULES Qt6::Gui Qt6::Widgets Qt6::Multimedia Qt6::Network zenx_platform zenx_widgets)
  # The content tool decodes pictures with Qt Gui to check them, nothing more.
  zenx_forbid_links(
    TARGETS zenx_contenttools zenx-content
    MODULES Qt6::Widgets Qt6::Multimedia Qt6::Network zenx_platform zenx_widgets)
endfunction()
