# SPDX-License-Identifier: Apache-2.0
# Cross-builds for s390x, a big-endian host, with Debian's
# g++-s390x-linux-gnu; programs run under qemu-user (qemu-s390x), with the
# cross C library of /usr/s390x-linux-gnu. scripts/check-s390x uses it.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR s390x)
set(CMAKE_C_COMPILER s390x-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER s390x-linux-gnu-g++)
set(CMAKE_LIBRARY_ARCHITECTURE s390x-linux-gnu)
set(CMAKE_FIND_ROOT_PATH /usr/s390x-linux-gnu)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE BOTH)
# Header-only packages (CLI11, {fmt} used header-only) are the host's.
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)
# The cross C library comes first on the library path: the host's cache of
# libraries names the multiarch s390x C library (libsqlite3-0:s390x brings
# it), whose version need not match the cross loader's.
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-s390x -L /usr/s390x-linux-gnu
    -E LD_LIBRARY_PATH=/usr/s390x-linux-gnu/lib:/usr/lib/s390x-linux-gnu)
