#pragma once
// Garmin devices mounted as USB drives: a folder holding
// Garmin/GarminDevice.xml is a device's root.
#include <string>
#include <vector>

namespace velkor::platform {

// Where desktops mount drives, for the running user (by account, not by an
// environment variable): /media/USER, /run/media/USER, /media, /mnt.
std::vector<std::string> DefaultMountRoots();

bool IsGarminDevice(const std::string& folder);

// The device roots among the folders directly inside each of `mountRoots`,
// each device once (by real path) and in order of the roots, then of name.
std::vector<std::string> FindGarminDevices(const std::vector<std::string>& mountRoots);

}  // namespace velkor::platform
