// clsLxRegSetting: the parts that depend on the write rules.
#include "registry/clsLxRegSetting.h"

#include "registry/LxSettingRules.h"

uint32_t clsLxRegSetting::RegDataType() const { return lxrules::SettingRegType(setting_); }
