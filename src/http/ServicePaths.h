#pragma once
// The service's request paths, as given to the transport (no leading '/'):
// each is followed by the API token. The flows send to them; the log shows
// them, and hostemu's readers, the replay and the check use the same names.

namespace servicepath {

inline constexpr char kVersion[] = "v1/";  // what every path starts with
inline constexpr char kGuestInfo[] = "v1/GuestInfo/";
inline constexpr char kGetDiscount[] = "v1/GetDiscount/";
inline constexpr char kCloseOrder[] = "v1/CloseOrder/";
inline constexpr char kReturnOrder[] = "v1/ReturnOrder/";

}  // namespace servicepath
