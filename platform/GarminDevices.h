#pragma once
// Garmin devices mounted as USB drives: a folder holding
// Garmin/GarminDevice.xml is a device's root.
#include <optional>
#include <string>
#include <vector>

namespace velkor::platform {

// Where desktops mount drives, for the running user (by account, not by an
// environment variable): /media/USER, /run/media/USER, /media, /mnt.
std::vector<std::string> DefaultMountRoots();

bool IsGarminDevice(const std::string& folder);

// The device a folder the user chose stands for: the folder itself, or the
// device whose Garmin folder it is; none when it is neither.
std::optional<std::string> GarminDeviceRoot(const std::string& folder);

// The model the device names in Garmin/GarminDevice.xml (the Description of
// its Model, e.g. "nuvi 760"), on one line and at most 64 characters; "" when
// the file names none. Only the file's first 64 KiB are read.
std::string GarminDeviceModel(const std::string& device);

// The device roots among the folders directly inside each of `mountRoots`,
// each device once (by real path) and in order of the roots, then of name.
std::vector<std::string> FindGarminDevices(const std::vector<std::string>& mountRoots);

}  // namespace velkor::platform
