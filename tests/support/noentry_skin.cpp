// A library that loads but offers no skin entry point, to test that failure path.
#include <windows.h>

extern "C" __declspec(dllexport) int __stdcall SomethingElse(int value) { return value; }
