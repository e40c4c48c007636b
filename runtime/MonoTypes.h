#ifndef VISDK_MONO_TYPES_H
#define VISDK_MONO_TYPES_H

#include <cstdint>

// Opaque runtime handles, declared exactly as the runtime's own headers do so both may be included.
typedef struct _MonoObject MonoObject;
typedef struct _MonoString MonoString;
typedef struct _MonoClass MonoClass;
typedef struct _MonoDomain MonoDomain;
typedef struct _MonoImage MonoImage;
typedef struct _MonoAssembly MonoAssembly;
typedef struct _MonoMethod MonoMethod;
typedef struct _MonoMethodSignature MonoMethodSignature;
typedef struct _MonoClassField MonoClassField;
typedef struct _MonoProperty MonoProperty;
typedef struct _MonoThread MonoThread;
typedef struct _MonoType MonoType;

#endif
