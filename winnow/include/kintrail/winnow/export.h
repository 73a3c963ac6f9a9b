#pragma once
// Marks the declarations the shared library exports; everything else is hidden.
#if defined(_WIN32)
#if defined(WINNOW_BUILDING_LIBRARY)
#define WINNOW_EXPORT __declspec(dllexport)
#else
#define WINNOW_EXPORT __declspec(dllimport)
#endif
#else
#define WINNOW_EXPORT __attribute__((visibility("default")))
#endif
