#pragma once
// A lookup as a till's log holds it: one guest request, answered.
inline constexpr char kLookupLog[] =
    "[12-07-2026 10:00:00] GetCardInfoEx : GetCardInfoEx from File1 Started!\n"
    "[12-07-2026 10:00:00] GetCardInfoEx : InputBuf was\n\n<CHECK chmode=\"0\"/>\n"
    "[12-07-2026 10:00:00] SendRequestWrapper : TRY SEND REQUEST TO v1/GuestInfo/t WITH "
    "{\"CardToken\":1001}\n"
    "[12-07-2026 10:00:00] ANSWER FROM URL v1/GuestInfo/t \n{\"Status\":1}\n"
    "[12-07-2026 10:00:01] GetCardInfoEx : GetCardInfoEx RETURN 0\n";
