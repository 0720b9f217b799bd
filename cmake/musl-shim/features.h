/* What the musl sources built by cmake/WindowsLibm.cmake take from musl's own
   features.h: nothing (visibility is that of a static program). */
#pragma once
