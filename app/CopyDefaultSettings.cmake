# Puts the shipped default settings file beside the tool when no settings file is there yet;
# a settings file that exists (saved by the tool, edited by hand) is left as it is.
#   cmake -DSOURCE=<default.ini> -DDESTINATION=<rcv910x-tool.ini> -P CopyDefaultSettings.cmake
if(NOT EXISTS "${DESTINATION}")
  file(COPY_FILE "${SOURCE}" "${DESTINATION}")
endif()
