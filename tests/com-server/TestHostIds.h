#pragma once

// The test host's classes, control interface and type library, as widl defines them from
// TestHost.idl (TestHost_i.c). A header of the library itself would declare its classes,
// whose names (Rectangle, Polygon ...) clash with names of the Windows headers.

#include <windows.h>

EXTERN_C const CLSID CLSID_TestHostApplication;
EXTERN_C const CLSID CLSID_TestHostControl;
EXTERN_C const IID DIID_Control;
EXTERN_C const IID LIBID_QuarvelTestHost;
// The "current" profile (TestHostCurrent.idl).
EXTERN_C const CLSID CLSID_TestHostCurrentApplication;
EXTERN_C const IID LIBID_QuarvelTestHostCurrent;
