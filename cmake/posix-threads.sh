#!/bin/sh
# Compiler and linker launcher: runs the command with the "posix" thread-model
# build of the same MinGW GCC (i686-w64-mingw32-g++-win32 becomes
# i686-w64-mingw32-g++-posix). GoogleTest needs std::mutex, which the
# "win32" thread model of GCC 12 lacks.
compiler=$1
shift
exec "${compiler%-win32}-posix" "$@"
