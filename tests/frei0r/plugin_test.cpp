// SPDX-License-Identifier: GPL-2.0-or-later
// kelvra.so loaded as a frei0r host loads it: what the host is told, and
// that frames after the first allocate nothing.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

extern "C" {
#include <frei0r.h>
}

namespace {

std::atomic<long> allocations{0};

}  // namespace

// Every allocation of the process, the plug-in's included.
void* operator new(size_t size) {
    ++allocations;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, size_t) noexcept { std::free(p); }

namespace {

struct Plugin {
    void* module = dlopen(KELVRA_FREI0R, RTLD_NOW | RTLD_LOCAL);
    template <typename F>
    F* get(const char* name) {
        return reinterpret_cast<F*>(dlsym(module, name));
    }
    ~Plugin() {
        if (module) dlclose(module);
    }
};

TEST(Frei0rPlugin, HostsSeeABgraFilterWithNamedExplainedParameters) {
    Plugin p;
    ASSERT_NE(p.module, nullptr) << dlerror();
    ASSERT_TRUE(p.get<decltype(f0r_init)>("f0r_init")());
    f0r_plugin_info_t info{};
    p.get<decltype(f0r_get_plugin_info)>("f0r_get_plugin_info")(&info);
    EXPECT_STREQ(info.name, "Kelvra");
    EXPECT_EQ(info.plugin_type, F0R_PLUGIN_TYPE_FILTER);
    EXPECT_EQ(info.color_model, F0R_COLOR_MODEL_BGRA8888);
    EXPECT_EQ(info.frei0r_version, FREI0R_MAJOR_VERSION);
    // Scripts, ffmpeg's positional lists and the Kdenlive description use
    // these names, types and this order.
    const std::vector<std::pair<std::string, int>> want = {{"Strength", F0R_PARAM_DOUBLE},
                                                           {"Soft", F0R_PARAM_BOOL},
                                                           {"Border", F0R_PARAM_BOOL},
                                                           {"Up", F0R_PARAM_DOUBLE},
                                                           {"Left", F0R_PARAM_DOUBLE},
                                                           {"Right", F0R_PARAM_DOUBLE},
                                                           {"Down", F0R_PARAM_DOUBLE},
                                                           {"Histogram", F0R_PARAM_BOOL},
                                                           {"Scene cuts", F0R_PARAM_BOOL},
                                                           {"Sensitivity", F0R_PARAM_DOUBLE},
                                                           {"Plug-in correction", F0R_PARAM_BOOL}};
    ASSERT_EQ(info.num_params, int(want.size()));
    for (int i = 0; i < info.num_params; ++i) {
        f0r_param_info_t param{};
        p.get<decltype(f0r_get_param_info)>("f0r_get_param_info")(&param, i);
        EXPECT_EQ(param.name, want[size_t(i)].first);
        EXPECT_EQ(param.type, want[size_t(i)].second) << param.name;
        EXPECT_GT(std::string(param.explanation ? param.explanation : "").size(), 20u) << param.name;
    }
    EXPECT_EQ(p.get<decltype(f0r_construct)>("f0r_construct")(0, 48), nullptr);
}

TEST(Frei0rPlugin, FramesAfterTheFirstAllocateNothing) {
    Plugin p;
    ASSERT_NE(p.module, nullptr) << dlerror();
    const auto construct = p.get<decltype(f0r_construct)>("f0r_construct");
    const auto set = p.get<decltype(f0r_set_param_value)>("f0r_set_param_value");
    const auto update = p.get<decltype(f0r_update)>("f0r_update");
    constexpr unsigned w = 64, h = 48;
    f0r_instance_t instance = construct(w, h);
    ASSERT_NE(instance, nullptr);
    std::vector<uint32_t> in(w * h), out(w * h);
    for (size_t i = 0; i < in.size(); ++i) in[i] = 0xFF000000u | uint32_t(i * 2654435761u >> 8);
    double on = 1, strength = 0.2;
    for (const int index : {1, 2, 7, 8}) set(instance, &on, index);
    update(instance, 0, in.data(), out.data());
    const long before = allocations;
    // In order, a seek, a frame in place, new settings, another picture.
    for (const double time : {0.04, 0.08, 3.0, 3.04}) update(instance, time, in.data(), out.data());
    update(instance, 3.08, in.data(), in.data());
    set(instance, &strength, 0);
    for (uint32_t& pixel : in) pixel ^= 0x00FF00FFu;
    update(instance, 3.12, in.data(), out.data());
    EXPECT_EQ(allocations - before, 0);
    p.get<decltype(f0r_destruct)>("f0r_destruct")(instance);
}

}  // namespace
