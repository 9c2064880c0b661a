// CPU time of the benchmark's processes, read from the Linux side under Wine.
#pragma once

#include <string>

namespace kakehashi::bench {

// The Linux process id of the running Windows program `exe` (matched by its whole path,
// without case), or empty when there is none.
std::wstring FindUnixProcess(const std::wstring& exe);

// CPU time so far of all threads of Linux process `pid`, in ms; negative when it is gone.
double CpuMs(const std::wstring& pid);

// The first three fields of /proc/loadavg: the Linux load averages over 1, 5 and 15 minutes.
std::string LoadAverage();

}  // namespace kakehashi::bench
