#ifndef VISDK_RUNTIME_API_H
#define VISDK_RUNTIME_API_H

#include <cstdint>

#include "MonoTypes.h"
#include "VISDKExport.h"

namespace VISDKCppBridge {

typedef int32_t mono_bool_t;

// The runtime's entry points, loaded at start-up instead of linked, so the library runs
// wherever the runtime package is installed and builds nowhere else against it.
struct VISDK_API RuntimeApi {
    // start-up
    void (*mono_config_parse)(const char* filename);
    MonoDomain* (*mono_jit_init)(const char* domainName);
    char* (*mono_get_runtime_build_info)();
    void (*mono_domain_set_config)(MonoDomain* domain, const char* baseDir, const char* configFileName);
    MonoAssembly* (*mono_domain_assembly_open)(MonoDomain* domain, const char* name);
    MonoImage* (*mono_assembly_get_image)(MonoAssembly* assembly);
    MonoImage* (*mono_get_corlib)();
    void (*mono_free)(void* pointer);
    // threads
    MonoThread* (*mono_thread_attach)(MonoDomain* domain);
    void (*mono_thread_detach)(MonoThread* thread);
    MonoThread* (*mono_thread_current)();
    void (*mono_add_internal_call)(const char* name, const void* method);
    // types and members
    MonoClass* (*mono_class_from_name)(MonoImage* image, const char* nameSpace, const char* name);
    MonoClass* (*mono_class_get)(MonoImage* image, uint32_t typeToken);
    int (*mono_image_get_table_rows)(MonoImage* image, int tableId);
    const char* (*mono_class_get_name)(MonoClass* klass);
    const char* (*mono_class_get_namespace)(MonoClass* klass);
    MonoMethod* (*mono_class_get_method_from_name)(MonoClass* klass, const char* name, int paramCount);
    MonoMethod* (*mono_class_get_methods)(MonoClass* klass, void** iterator);
    const char* (*mono_method_get_name)(MonoMethod* method);
    char* (*mono_method_full_name)(MonoMethod* method, mono_bool_t signature);
    MonoMethodSignature* (*mono_method_signature)(MonoMethod* method);
    char* (*mono_signature_get_desc)(MonoMethodSignature* signature, mono_bool_t includeNamespace);
    uint32_t (*mono_signature_get_param_count)(MonoMethodSignature* signature);
    MonoType* (*mono_signature_get_params)(MonoMethodSignature* signature, void** iterator);
    MonoClassField* (*mono_class_get_field_from_name)(MonoClass* klass, const char* name);
    MonoClassField* (*mono_class_get_fields)(MonoClass* klass, void** iterator);
    const char* (*mono_field_get_name)(MonoClassField* field);
    MonoType* (*mono_field_get_type)(MonoClassField* field);
    int (*mono_type_get_type)(MonoType* type);
    mono_bool_t (*mono_type_is_byref)(MonoType* type);
    MonoClass* (*mono_class_from_mono_type)(MonoType* type);
    MonoProperty* (*mono_class_get_property_from_name)(MonoClass* klass, const char* name);
    mono_bool_t (*mono_class_is_valuetype)(MonoClass* klass);
    int32_t (*mono_class_value_size)(MonoClass* klass, uint32_t* align);
    MonoClass* (*mono_get_string_class)();
    MonoClass* (*mono_get_boolean_class)();
    MonoClass* (*mono_get_byte_class)();
    MonoClass* (*mono_get_sbyte_class)();
    MonoClass* (*mono_get_int16_class)();
    MonoClass* (*mono_get_uint16_class)();
    MonoClass* (*mono_get_int32_class)();
    MonoClass* (*mono_get_uint32_class)();
    MonoClass* (*mono_get_int64_class)();
    // objects and calls
    MonoObject* (*mono_object_new)(MonoDomain* domain, MonoClass* klass);
    void (*mono_runtime_object_init)(MonoObject* object);
    MonoClass* (*mono_object_get_class)(MonoObject* object);
    MonoObject* (*mono_object_isinst)(MonoObject* object, MonoClass* klass);
    void* (*mono_object_unbox)(MonoObject* object);
    MonoObject* (*mono_runtime_invoke)(MonoMethod* method, void* object, void** params, MonoObject** exception);
    MonoObject* (*mono_property_get_value)(MonoProperty* property, void* object, void** params, MonoObject** exception);
    void (*mono_field_get_value)(MonoObject* object, MonoClassField* field, void* value);
    MonoObject* (*mono_field_get_value_object)(MonoDomain* domain, MonoClassField* field, MonoObject* object);
    void (*mono_field_set_value)(MonoObject* object, MonoClassField* field, void* value);
    // strings
    MonoString* (*mono_string_new)(MonoDomain* domain, const char* text);
    char* (*mono_string_to_utf8)(MonoString* string);
    int (*mono_string_length)(MonoString* string);
    uint16_t* (*mono_string_chars)(MonoString* string);
    // handles
    uint32_t (*mono_gchandle_new)(MonoObject* object, mono_bool_t pinned);
    MonoObject* (*mono_gchandle_get_target)(uint32_t handle);
    void (*mono_gchandle_free)(uint32_t handle);

    // Loads the runtime library and fills every entry that is still empty; entries set
    // beforehand (by a host or a test) are kept. Logs what is missing and returns false on failure.
    static bool Initialize();
    // The library file tried first; null restores the default ("libmonosgen-2.0.so.1").
    static void SetLibraryName(const char* fileName);
};

extern VISDK_API RuntimeApi g_mono;

} // namespace VISDKCppBridge

#endif
