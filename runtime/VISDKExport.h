#ifndef VISDK_EXPORT_H
#define VISDK_EXPORT_H

#define VISDK_API __attribute__((visibility("default")))

#endif
