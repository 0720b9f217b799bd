/* The byte order of the musl sources built by cmake/WindowsLibm.cmake. */
#pragma once
#define __LITTLE_ENDIAN 1234
#define __BIG_ENDIAN 4321
#define __BYTE_ORDER __LITTLE_ENDIAN
