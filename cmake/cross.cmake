# A toolchain for another Debian architecture: Debian's cross compiler for TAVREL_TARGET (a GNU
# triplet such as s390x-linux-gnu), the target's libraries from the Debian packages unpacked
# into TAVREL_SYSROOT, and the tests run under qemu-user, named here rather than registered
# with the kernel so that nothing outside the build changes
set(CMAKE_SYSTEM_NAME Linux)
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES TAVREL_TARGET TAVREL_SYSROOT)
string(REGEX REPLACE "-.*" "" CMAKE_SYSTEM_PROCESSOR "${TAVREL_TARGET}")
set(CMAKE_C_COMPILER ${TAVREL_TARGET}-gcc)
set(CMAKE_CXX_COMPILER ${TAVREL_TARGET}-g++)

set(CMAKE_FIND_ROOT_PATH ${TAVREL_SYSROOT})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(targetlibraries ${TAVREL_SYSROOT}/usr/lib/${TAVREL_TARGET})
set(ENV{PKG_CONFIG_LIBDIR} ${targetlibraries}/pkgconfig:${TAVREL_SYSROOT}/usr/share/pkgconfig)
set(ENV{PKG_CONFIG_SYSROOT_DIR} ${TAVREL_SYSROOT})

# the libraries' own dependencies are found in the same places, at link time and under qemu,
# which runs the target's own loader and C library from the sysroot; a run path a library names
# (the sound server's own folder) holds nothing until the sysroot is put in front of it
string(APPEND targetlibraries
       ":${targetlibraries}/pulseaudio:${TAVREL_SYSROOT}/lib/${TAVREL_TARGET}")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-Wl,-rpath-link,${targetlibraries}")
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-${CMAKE_SYSTEM_PROCESSOR}-static -L ${TAVREL_SYSROOT}
    -E LD_LIBRARY_PATH=${targetlibraries})
