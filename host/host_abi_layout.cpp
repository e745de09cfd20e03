// SPDX-License-Identifier: GPL-2.0-or-later
// Every offset and size of the host's records, for both builds: a wrong
// offset compiles cleanly and only crashes inside the editor.
#include <cstddef>

#include "base/filter_data.h"
#include "host_abi.h"

namespace {

constexpr bool k64 = sizeof(void*) == 8;

}  // namespace

#define PIN_OFFSET(type, field, x64, x86) \
    static_assert(offsetof(type, field) == (k64 ? (x64) : (x86)), #type "::" #field)
#define PIN_SIZE(type, x64, x86) static_assert(sizeof(type) == (k64 ? (x64) : (x86)), "sizeof " #type)

PIN_SIZE(VDXFilterFunctions, 72, 36);
PIN_OFFSET(VDXFilterFunctions, addFilter, 0, 0);
PIN_OFFSET(VDXFilterFunctions, removeFilter, 8, 4);
PIN_OFFSET(VDXFilterFunctions, isFPUEnabled, 16, 8);
PIN_OFFSET(VDXFilterFunctions, isMMXEnabled, 24, 12);
PIN_OFFSET(VDXFilterFunctions, InitVTables, 32, 16);
PIN_OFFSET(VDXFilterFunctions, ExceptOutOfMemory, 40, 20);
PIN_OFFSET(VDXFilterFunctions, Except, 48, 24);
PIN_OFFSET(VDXFilterFunctions, getCPUFlags, 56, 28);
PIN_OFFSET(VDXFilterFunctions, getHostVersionInfo, 64, 32);

PIN_SIZE(VDXFilterDefinition, 208, 104);
PIN_OFFSET(VDXFilterDefinition, _next, 0, 0);
PIN_OFFSET(VDXFilterDefinition, _prev, 8, 4);
PIN_OFFSET(VDXFilterDefinition, _module, 16, 8);
PIN_OFFSET(VDXFilterDefinition, name, 24, 12);
PIN_OFFSET(VDXFilterDefinition, desc, 32, 16);
PIN_OFFSET(VDXFilterDefinition, maker, 40, 20);
PIN_OFFSET(VDXFilterDefinition, private_data, 48, 24);
PIN_OFFSET(VDXFilterDefinition, inst_data_size, 56, 28);
PIN_OFFSET(VDXFilterDefinition, initProc, 64, 32);
PIN_OFFSET(VDXFilterDefinition, deinitProc, 72, 36);
PIN_OFFSET(VDXFilterDefinition, runProc, 80, 40);
PIN_OFFSET(VDXFilterDefinition, paramProc, 88, 44);
PIN_OFFSET(VDXFilterDefinition, configProc, 96, 48);
PIN_OFFSET(VDXFilterDefinition, stringProc, 104, 52);
PIN_OFFSET(VDXFilterDefinition, startProc, 112, 56);
PIN_OFFSET(VDXFilterDefinition, endProc, 120, 60);
PIN_OFFSET(VDXFilterDefinition, script_obj, 128, 64);
PIN_OFFSET(VDXFilterDefinition, fssProc, 136, 68);
PIN_OFFSET(VDXFilterDefinition, stringProc2, 144, 72);
PIN_OFFSET(VDXFilterDefinition, serializeProc, 152, 76);
PIN_OFFSET(VDXFilterDefinition, deserializeProc, 160, 80);
PIN_OFFSET(VDXFilterDefinition, copyProc, 168, 84);
PIN_OFFSET(VDXFilterDefinition, prefetchProc, 176, 88);
PIN_OFFSET(VDXFilterDefinition, copyProc2, 184, 92);
PIN_OFFSET(VDXFilterDefinition, prefetchProc2, 192, 96);
PIN_OFFSET(VDXFilterDefinition, eventProc, 200, 100);

PIN_SIZE(VDXFBitmap, 160, 112);
PIN_OFFSET(VDXFBitmap, _vtable, 0, 0);
PIN_OFFSET(VDXFBitmap, data, 8, 4);
PIN_OFFSET(VDXFBitmap, palette, 16, 8);
PIN_OFFSET(VDXFBitmap, depth, 24, 12);
PIN_OFFSET(VDXFBitmap, w, 28, 16);
PIN_OFFSET(VDXFBitmap, h, 32, 20);
PIN_OFFSET(VDXFBitmap, pitch, 40, 24);
PIN_OFFSET(VDXFBitmap, modulo, 48, 28);
PIN_OFFSET(VDXFBitmap, size, 56, 32);
PIN_OFFSET(VDXFBitmap, offset, 64, 36);
PIN_OFFSET(VDXFBitmap, dwFlags, 72, 40);
PIN_OFFSET(VDXFBitmap, hdc, 80, 44);
PIN_OFFSET(VDXFBitmap, mFrameRateHi, 88, 48);
PIN_OFFSET(VDXFBitmap, mFrameRateLo, 92, 52);
PIN_OFFSET(VDXFBitmap, mFrameCount, 96, 56);
PIN_OFFSET(VDXFBitmap, mpPixmapLayout, 104, 64);
PIN_OFFSET(VDXFBitmap, mpPixmap, 112, 68);
PIN_OFFSET(VDXFBitmap, mAspectRatioHi, 120, 72);
PIN_OFFSET(VDXFBitmap, mAspectRatioLo, 124, 76);
PIN_OFFSET(VDXFBitmap, mFrameNumber, 128, 80);
PIN_OFFSET(VDXFBitmap, mFrameTimestampStart, 136, 88);
PIN_OFFSET(VDXFBitmap, mFrameTimestampEnd, 144, 96);
PIN_OFFSET(VDXFBitmap, mCookie, 152, 104);

PIN_SIZE(VDXFilterActivation, 112, 64);
PIN_OFFSET(VDXFilterActivation, filter, 0, 0);
PIN_OFFSET(VDXFilterActivation, filter_data, 8, 4);
PIN_OFFSET(VDXFilterActivation, dst, 16, 8);
PIN_OFFSET(VDXFilterActivation, src, 24, 12);
PIN_OFFSET(VDXFilterActivation, _reserved0, 32, 16);
PIN_OFFSET(VDXFilterActivation, last, 40, 20);
PIN_OFFSET(VDXFilterActivation, x1, 48, 24);
PIN_OFFSET(VDXFilterActivation, y1, 52, 28);
PIN_OFFSET(VDXFilterActivation, x2, 56, 32);
PIN_OFFSET(VDXFilterActivation, y2, 60, 36);
PIN_OFFSET(VDXFilterActivation, pfsi, 64, 40);
PIN_OFFSET(VDXFilterActivation, ifp, 72, 44);
PIN_OFFSET(VDXFilterActivation, ifp2, 80, 48);
PIN_OFFSET(VDXFilterActivation, mSourceFrameCount, 88, 52);
PIN_OFFSET(VDXFilterActivation, mpSourceFrames, 96, 56);
PIN_OFFSET(VDXFilterActivation, mpOutputFrames, 104, 60);

PIN_SIZE(VDXScriptFunctionDef, 24, 12);
PIN_OFFSET(VDXScriptFunctionDef, func_ptr, 0, 0);
PIN_OFFSET(VDXScriptFunctionDef, name, 8, 4);
PIN_OFFSET(VDXScriptFunctionDef, arg_list, 16, 8);

PIN_SIZE(VDXScriptObject, 24, 12);
PIN_OFFSET(VDXScriptObject, _lookup, 0, 0);
PIN_OFFSET(VDXScriptObject, func_list, 8, 4);
PIN_OFFSET(VDXScriptObject, _obj_list, 16, 8);

PIN_SIZE(VDXScriptValue, 24, 16);
PIN_OFFSET(VDXScriptValue, type, 0, 0);
PIN_OFFSET(VDXScriptValue, thisPtr, 8, 4);
PIN_OFFSET(VDXScriptValue, u, 16, 8);
static_assert(sizeof(VDXScriptType) == 4);

// The preview interface is called through its vtable only: one pointer.
static_assert(sizeof(IVDXFilterPreview) == sizeof(void*));
static_assert(sizeof(bool) == 1 && sizeof(long) == 4);

PIN_SIZE(kelvra::FilterData, 232, 228);
PIN_OFFSET(kelvra::FilterData, preview, 0, 0);
PIN_OFFSET(kelvra::FilterData, level, 8, 4);
PIN_OFFSET(kelvra::FilterData, frame_width, 228, 224);
