#!/bin/sh
# Runs the GL test program for ctest. Listing its cases needs no display (the program opens its
# window only to run them); running them happens on a private virtual X server whose screen is
# the test window's size, so that going full screen keeps the 640 x 480 the tests expect.
case " $* " in
*" --gtest_list_tests "*) exec "$@" ;;
esac
exec "$(dirname "$0")/../tools/with_xvfb.sh" -s 640x480 "$@"
