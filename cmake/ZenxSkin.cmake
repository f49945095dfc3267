# The window's pictures (I/B/...) and sounds (a/0.wav .. a/3.wav) in the
# program directory, drawn and synthesised by zenx-skin and zenx-sound. They
# are made again when either tool changes.
set(ZENX_SKIN_STAMP ${CMAKE_BINARY_DIR}/zenx_skin.stamp)
set(ZENX_SOUNDS
  ${ZENX_PROGRAM_DIR}/a/0.wav ${ZENX_PROGRAM_DIR}/a/1.wav
  ${ZENX_PROGRAM_DIR}/a/2.wav ${ZENX_PROGRAM_DIR}/a/3.wav)
add_custom_command(OUTPUT ${ZENX_SKIN_STAMP}
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0
          $<TARGET_FILE:zenx-skin> ${ZENX_PROGRAM_DIR}
  COMMAND ${CMAKE_COMMAND} -E touch ${ZENX_SKIN_STAMP}
  DEPENDS zenx-skin
  COMMENT "Drawing the window pictures"
  VERBATIM)
add_custom_command(OUTPUT ${ZENX_SOUNDS}
  COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0
          $<TARGET_FILE:zenx-sound> ${ZENX_PROGRAM_DIR}
  DEPENDS zenx-sound
  COMMENT "Writing the window sounds"
  VERBATIM)
add_custom_target(zenx_skin ALL DEPENDS ${ZENX_SKIN_STAMP} ${ZENX_SOUNDS})
add_dependencies(zenx zenx_skin)
