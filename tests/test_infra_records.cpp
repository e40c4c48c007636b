// Infrastructure records: inventory nodes, hosts, datastores, containers, networks, adapters, LUNs, filters, versions.
#include <gtest/gtest.h>

#include "RecordBuilder.h"

using namespace VMInfoStructs;
using namespace visdktest;
using VISDKHelper::CVISDKHelper;

namespace {

using InfraRecordsTest = ProbeTest;

} // namespace
