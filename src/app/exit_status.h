#pragma once

inline constexpr int kExitNormal = 0;
inline constexpr int kExitSdlInitFailed = 101;
inline constexpr int kExitVideoModeFailed = 102;
inline constexpr int kExitBannerLoadFailed = 103;
inline constexpr int kExitNoPicture = 201;
