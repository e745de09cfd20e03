// SPDX-License-Identifier: GPL-2.0-or-later
// The editor's filter plug-in interface (definition version 14), as far as
// Kelvra meets it. The editor is built with Microsoft's compiler, so every
// structure here must match its layout byte for byte; host_abi_layout.cpp
// pins each offset for both builds.
#pragma once

#include <windows.h>

#include <cstdint>

struct FilterModule;  // opaque, passed through
struct VDXFilterActivation;
struct VDXFilterFunctions;
struct VDXFilterDefinition;
struct VDXScriptObject;
class IVDXScriptInterpreter;

// Host callbacks are __cdecl; only DllMain and the dialog procedure are
// Windows callbacks.
using VDXFilterInitProc = int (*)(VDXFilterActivation*, const VDXFilterFunctions*);
using VDXFilterDeinitProc = void (*)(VDXFilterActivation*, const VDXFilterFunctions*);
using VDXFilterRunProc = int (*)(const VDXFilterActivation*, const VDXFilterFunctions*);
using VDXFilterParamProc = long (*)(VDXFilterActivation*, const VDXFilterFunctions*);
using VDXFilterConfigProc = int (*)(VDXFilterActivation*, const VDXFilterFunctions*, HWND);
using VDXFilterStringProc = void (*)(const VDXFilterActivation*, const VDXFilterFunctions*, char*);
using VDXFilterStartProc = int (*)(VDXFilterActivation*, const VDXFilterFunctions*);
using VDXFilterEndProc = int (*)(VDXFilterActivation*, const VDXFilterFunctions*);
using VDXFilterScriptStrProc = bool (*)(VDXFilterActivation*, const VDXFilterFunctions*, char*, int);
using VDXFilterStringProc2 = void (*)(const VDXFilterActivation*, const VDXFilterFunctions*, char*, int);
using VDXFilterSerialize = int (*)(VDXFilterActivation*, const VDXFilterFunctions*, char*, int);
using VDXFilterDeserialize = void (*)(VDXFilterActivation*, const VDXFilterFunctions*, const char*, int);
using VDXFilterCopy = void (*)(VDXFilterActivation*, const VDXFilterFunctions*, void*);
using VDXFilterPrefetch = int64_t (*)(const VDXFilterActivation*, const VDXFilterFunctions*, int64_t);
using VDXFilterCopy2 = void (*)(VDXFilterActivation*, const VDXFilterFunctions*, void*, VDXFilterActivation*,
                                const VDXFilterFunctions*);
using VDXFilterPrefetch2 = bool (*)(const VDXFilterActivation*, const VDXFilterFunctions*, int64_t, void*);
using VDXFilterEvent = bool (*)(const VDXFilterActivation*, const VDXFilterFunctions*, uint32_t, const void*);

struct VDXFilterFunctions {
    VDXFilterDefinition* (*addFilter)(FilterModule*, VDXFilterDefinition*, int fd_len);
    void (*removeFilter)(VDXFilterDefinition*);
    bool (*isFPUEnabled)();
    bool (*isMMXEnabled)();
    void (*InitVTables)(void*);
    void (*ExceptOutOfMemory)();
    void (*Except)(const char* format, ...);
    long (*getCPUFlags)();
    long (*getHostVersionInfo)(char* buffer, int len);
};

struct VDXFilterDefinition {
    VDXFilterDefinition* _next;
    VDXFilterDefinition* _prev;
    FilterModule* _module;
    const char* name;
    const char* desc;
    const char* maker;
    void* private_data;
    int inst_data_size;
    VDXFilterInitProc initProc;
    VDXFilterDeinitProc deinitProc;
    VDXFilterRunProc runProc;
    VDXFilterParamProc paramProc;
    VDXFilterConfigProc configProc;
    VDXFilterStringProc stringProc;
    VDXFilterStartProc startProc;
    VDXFilterEndProc endProc;
    VDXScriptObject* script_obj;
    VDXFilterScriptStrProc fssProc;
    VDXFilterStringProc2 stringProc2;
    VDXFilterSerialize serializeProc;
    VDXFilterDeserialize deserializeProc;
    VDXFilterCopy copyProc;
    VDXFilterPrefetch prefetchProc;
    VDXFilterCopy2 copyProc2;
    VDXFilterPrefetch2 prefetchProc2;
    VDXFilterEvent eventProc;
};

// The host's bitmap. Its first member is a vtable pointer in the host's own
// class; the plug-in never calls through it.
struct VDXFBitmap {
    void* _vtable;
    uint32_t* data;  // bottom-most scanline
    uint32_t* palette;
    int32_t depth;
    int32_t w;
    int32_t h;
    ptrdiff_t pitch;  // bytes from one scanline to the next one up
    ptrdiff_t modulo;
    ptrdiff_t size;
    ptrdiff_t offset;
    uint32_t dwFlags;
    void* hdc;
    uint32_t mFrameRateHi;
    uint32_t mFrameRateLo;
    int64_t mFrameCount;
    void* mpPixmapLayout;
    void* mpPixmap;
    uint32_t mAspectRatioHi;
    uint32_t mAspectRatioLo;
    int64_t mFrameNumber;
    int64_t mFrameTimestampStart;
    int64_t mFrameTimestampEnd;
    int64_t mCookie;
};

class IVDXFilterPreview {
public:
    virtual void SetButtonCallback(void (*callback)(bool, void*), void* data) = 0;
    virtual void SetSampleCallback(void (*callback)(VDXFBitmap*, long, long, void*), void* data) = 0;
    virtual bool isPreviewEnabled() = 0;
    virtual void Toggle(HWND) = 0;
    virtual void Display(HWND, bool) = 0;
    virtual void RedoFrame() = 0;
    virtual void RedoSystem() = 0;
    virtual void UndoSystem() = 0;
    virtual void InitButton(HWND) = 0;
    virtual void Close() = 0;
    virtual bool SampleCurrentFrame() = 0;
    virtual long SampleFrames() = 0;

protected:
    ~IVDXFilterPreview() = default;
};

// `dst` and `src` are references in the host's declaration: pointers in the
// ABI, declared as such so that a test host can build an activation.
struct VDXFilterActivation {
    const VDXFilterDefinition* filter;
    void* filter_data;
    VDXFBitmap* dst;
    VDXFBitmap* src;
    VDXFBitmap* _reserved0;
    VDXFBitmap* last;
    uint32_t x1, y1, x2, y2;
    void* pfsi;
    IVDXFilterPreview* ifp;
    void* ifp2;
    uint32_t mSourceFrameCount;
    VDXFBitmap* const* mpSourceFrames;
    VDXFBitmap* const* mpOutputFrames;
};

enum VDXScriptType : int {
    T_VOID = 0,
    T_INT = 1,
    T_PINT = 2,
    T_STR = 3,
    T_ARRAY = 4,
    T_OBJECT = 5,
    T_FNAME = 6,
    T_FUNCTION = 7,
    T_VARLV = 8,
    T_LONG = 9,
    T_DOUBLE = 10,
};

struct VDXScriptValue {
    VDXScriptType type;
    void* thisPtr;
    union {
        int i;
        char** s;
        int64_t l;
        double d;
    } u;

    // The integer member whatever the tag says: a frame server passes the
    // script's integers tagged T_LONG.
    int asInt() const { return u.i; }
};

using VDXScriptFunctionPtr = VDXScriptValue (*)(IVDXScriptInterpreter*, void* object,
                                                const VDXScriptValue* args, int count);
// A method whose signature starts with "0" returns nothing; the host stores
// it cast to VDXScriptFunctionPtr.
using VDXScriptVoidFunctionPtr = void (*)(IVDXScriptInterpreter*, void* object, const VDXScriptValue* args,
                                          int count);

struct VDXScriptFunctionDef {
    VDXScriptFunctionPtr func_ptr;
    const char* name;
    const char* arg_list;
};

struct VDXScriptObject {
    void* _lookup;
    VDXScriptFunctionDef* func_list;
    void* _obj_list;
};

constexpr int kFilterDefinitionVersion = 14;
constexpr int kFilterDefinitionCompatible = 8;
