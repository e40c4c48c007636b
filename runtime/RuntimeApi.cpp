#include "RuntimeApi.h"

#include <dlfcn.h>

#include <string>
#include <type_traits>

#include <mono/jit/jit.h>
#include <mono/metadata/appdomain.h>
#include <mono/metadata/assembly.h>
#include <mono/metadata/debug-helpers.h>
#include <mono/metadata/mono-config.h>
#include <mono/metadata/object.h>
#include <mono/metadata/threads.h>

#include "PlatformServices.h"

namespace VISDKCppBridge {

extern DebugLog g_debug;

RuntimeApi g_mono = {};

namespace {

struct Entry {
    const char* name;
    void** slot;
};

template <typename Native, typename Member>
Entry Bind(const char* name, Member* slot)
{
    static_assert(std::is_same<Member, Native>::value, "entry point type differs from the runtime's");
    return Entry{name, reinterpret_cast<void**>(slot)};
}

// Only the name is spelled twice; the runtime's prototype is compared, never referenced.
#define VISDK_RUNTIME_ENTRY(name) Bind<decltype(&::name)>(#name, &g_mono.name)

const Entry kEntries[] = {
    VISDK_RUNTIME_ENTRY(mono_config_parse),
    VISDK_RUNTIME_ENTRY(mono_jit_init),
    VISDK_RUNTIME_ENTRY(mono_get_runtime_build_info),
    VISDK_RUNTIME_ENTRY(mono_domain_set_config),
    VISDK_RUNTIME_ENTRY(mono_domain_assembly_open),
    VISDK_RUNTIME_ENTRY(mono_assembly_get_image),
    VISDK_RUNTIME_ENTRY(mono_get_corlib),
    VISDK_RUNTIME_ENTRY(mono_free),
    VISDK_RUNTIME_ENTRY(mono_thread_attach),
    VISDK_RUNTIME_ENTRY(mono_thread_detach),
    VISDK_RUNTIME_ENTRY(mono_thread_current),
    VISDK_RUNTIME_ENTRY(mono_add_internal_call),
    VISDK_RUNTIME_ENTRY(mono_class_from_name),
    VISDK_RUNTIME_ENTRY(mono_class_get),
    VISDK_RUNTIME_ENTRY(mono_image_get_table_rows),
    VISDK_RUNTIME_ENTRY(mono_class_get_name),
    VISDK_RUNTIME_ENTRY(mono_class_get_namespace),
    VISDK_RUNTIME_ENTRY(mono_class_get_method_from_name),
    VISDK_RUNTIME_ENTRY(mono_class_get_methods),
    VISDK_RUNTIME_ENTRY(mono_method_get_name),
    VISDK_RUNTIME_ENTRY(mono_method_full_name),
    VISDK_RUNTIME_ENTRY(mono_method_signature),
    VISDK_RUNTIME_ENTRY(mono_signature_get_desc),
    VISDK_RUNTIME_ENTRY(mono_signature_get_param_count),
    VISDK_RUNTIME_ENTRY(mono_signature_get_params),
    VISDK_RUNTIME_ENTRY(mono_class_get_field_from_name),
    VISDK_RUNTIME_ENTRY(mono_class_get_fields),
    VISDK_RUNTIME_ENTRY(mono_field_get_name),
    VISDK_RUNTIME_ENTRY(mono_field_get_type),
    VISDK_RUNTIME_ENTRY(mono_type_get_type),
    VISDK_RUNTIME_ENTRY(mono_type_is_byref),
    VISDK_RUNTIME_ENTRY(mono_class_from_mono_type),
    VISDK_RUNTIME_ENTRY(mono_class_get_property_from_name),
    VISDK_RUNTIME_ENTRY(mono_class_is_valuetype),
    VISDK_RUNTIME_ENTRY(mono_class_value_size),
    VISDK_RUNTIME_ENTRY(mono_get_string_class),
    VISDK_RUNTIME_ENTRY(mono_get_boolean_class),
    VISDK_RUNTIME_ENTRY(mono_get_byte_class),
    VISDK_RUNTIME_ENTRY(mono_get_sbyte_class),
    VISDK_RUNTIME_ENTRY(mono_get_int16_class),
    VISDK_RUNTIME_ENTRY(mono_get_uint16_class),
    VISDK_RUNTIME_ENTRY(mono_get_int32_class),
    VISDK_RUNTIME_ENTRY(mono_get_uint32_class),
    VISDK_RUNTIME_ENTRY(mono_get_int64_class),
    VISDK_RUNTIME_ENTRY(mono_object_new),
    VISDK_RUNTIME_ENTRY(mono_runtime_object_init),
    VISDK_RUNTIME_ENTRY(mono_object_get_class),
    VISDK_RUNTIME_ENTRY(mono_object_isinst),
    VISDK_RUNTIME_ENTRY(mono_object_unbox),
    VISDK_RUNTIME_ENTRY(mono_runtime_invoke),
    VISDK_RUNTIME_ENTRY(mono_property_get_value),
    VISDK_RUNTIME_ENTRY(mono_field_get_value),
    VISDK_RUNTIME_ENTRY(mono_field_get_value_object),
    VISDK_RUNTIME_ENTRY(mono_field_set_value),
    VISDK_RUNTIME_ENTRY(mono_string_new),
    VISDK_RUNTIME_ENTRY(mono_string_to_utf8),
    VISDK_RUNTIME_ENTRY(mono_string_length),
    VISDK_RUNTIME_ENTRY(mono_string_chars),
    VISDK_RUNTIME_ENTRY(mono_gchandle_new),
    VISDK_RUNTIME_ENTRY(mono_gchandle_get_target),
    VISDK_RUNTIME_ENTRY(mono_gchandle_free),
};
#undef VISDK_RUNTIME_ENTRY

const char* const kDefaultLibraries[] = {"libmonosgen-2.0.so.1", "libmonosgen-2.0.so"};
std::string s_libraryName;

} // namespace

void RuntimeApi::SetLibraryName(const char* fileName) { s_libraryName = fileName ? fileName : ""; }

bool RuntimeApi::Initialize()
{
    void* library = nullptr;
    std::string tried;
    auto open = [&](const char* name) {
        if (!library) {
            library = dlopen(name, RTLD_NOW | RTLD_GLOBAL);
            tried += tried.empty() ? name : std::string(", ") + name;
        }
    };
    if (!s_libraryName.empty()) {
        open(s_libraryName.c_str());
    } else {
        for (const char* name : kDefaultLibraries)
            open(name);
    }
    if (!library) {
        g_debug.Error("Could not load the Mono runtime library (tried %s)", tried.c_str());
        return false;
    }
    std::string missing;
    for (const Entry& entry : kEntries) {
        if (*entry.slot)
            continue;
        *entry.slot = dlsym(library, entry.name);
        if (!*entry.slot)
            missing += missing.empty() ? entry.name : std::string(", ") + entry.name;
    }
    if (!missing.empty()) {
        g_debug.Error("Mono runtime library lacks entry points: %s", missing.c_str());
        return false;
    }
    return true;
}

} // namespace VISDKCppBridge
