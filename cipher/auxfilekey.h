// The key of the producer text files beside the program ("附属/flash.txt",
// "附属/about.txt"): two ASCII digits, the same for both files.
#pragma once

inline constexpr char auxfilekey[] = "58";
