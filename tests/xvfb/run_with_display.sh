#!/bin/sh
# Runs a test binary where it can open windows: on the display there is (DISPLAY), or on a
# virtual one that xvfb-run starts for it and stops afterwards. The other tests run on Qt's
# offscreen platform; these need the real X11 one.
set -eu
unset QT_QPA_PLATFORM
if [ -n "${DISPLAY:-}" ]; then
  exec "$@"
fi
exec xvfb-run --auto-servernum --server-args="-screen 0 1280x1024x24 -nolisten tcp" "$@"
