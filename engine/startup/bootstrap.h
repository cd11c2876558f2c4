// Maintenance detection and the instance's cache over a run: the bootstrap
// that decides between a first installation, maintenance and an upgrade, the
// test whether the native engine installed the product, Windows Installer's
// answers, the relocation of the cache by OVERRIDECACHE, the per-statement
// engine cache values, the identity of a patch run and the caching of the
// instance data when the run ends. None of it shows a message or stops the run.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/startup/instance_state.h"

namespace pellion {

// Windows Installer's "installed" product state.
inline constexpr int32_t productInstalled = 5;

void Bootstrap(InstanceContext& context);

bool NativeInstalled(InstanceContext& context);
// 5 when NativeInstalled, otherwise Windows Installer's state (-1 when it
// cannot be asked).
int32_t ProductState(InstanceContext& context, std::u16string_view productCode);
bool PackageCodeMatches(InstanceContext& context, std::u16string_view productCode, std::u16string_view revisionCode);

// Before every statement, in this order.
void ApplyCacheOverride(InstanceContext& context);
void RefreshEngineCache(InstanceContext& context);

// A patch run works on the installed revision's cache.
void ReadPatchIdentity(InstanceContext& context);

void CacheInstanceData(InstanceContext& context, bool mediaCleanUp);

}  // namespace pellion
