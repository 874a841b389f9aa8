#pragma once
// The log's fixed phrases that anything reads back: the module writes them,
// hostemu's log reader, replay and filters and callbench look for them. Both
// sides use these constants, so a phrase cannot change on one side only.
// Each is a prefix or the whole text of an entry, byte for byte.

namespace logphrase {

// Tags: the text before " : ".
inline constexpr char kInit[] = "Init";
inline constexpr char kGetCardInfoEx[] = "GetCardInfoEx";
inline constexpr char kTransactionsEx[] = "TransactionsEx";
inline constexpr char kClearTheLog[] = "ClearTheLog";
inline constexpr char kWriteConfToLog[] = "WriteConfToLog";
inline constexpr char kSendRequestWrapper[] = "SendRequestWrapper";
inline constexpr char kSendRequest[] = "SendRequest";
inline constexpr char kHolderLookup[] = "SendRequest from checkXml";

inline constexpr char kGetConfig[] = "GetConfig";

// Heads of entries that are not "tag : message".
inline constexpr char kAnswerFromUrl[] = "ANSWER FROM URL ";  // + path + " \n" + reply
inline constexpr char kParseXmlFrom[] = "PARSE XML FROM ";    // + tag + " \n" + text
// After "tag : ": a record dump's lines, or "NULL" without a line feed.
inline constexpr char kDumpHead[] = "Info - \n";
inline constexpr char kDumpOfNoRecord[] = "NULL";
// After "tag : ": the host's input buffer.
inline constexpr char kInputBufWas[] = "InputBuf was\n\n";

// The calls' first and last lines.
inline constexpr char kStarted[] = "Started";  // Init, TransactionsEx
inline constexpr char kEnded[] = "Ended";      // Init's last line
inline constexpr char kLookupStarted[] = "GetCardInfoEx from File1 Started!";
inline constexpr char kRecordIsNull[] = "ERROR card record is NULL RETURN 1";
inline constexpr char kEndedSuccessfully[] = "Ended successfully! RETURN 0";  // a lookup's
inline constexpr char kCurrentVersion[] = "CURRENT VERSION: ";                // Init's, + version
inline constexpr char kTryGetConfiguration[] = "TRY GET configuration";       // under kGetConfig
// Failures that end a call with 1 without naming a RETURN (+ an error code).
inline constexpr char kGuestInfoFailed[] = "ERROR v1/GuestInfo/ ";
inline constexpr char kCloseOrderBodyFailed[] = "ERROR getJsonResponseForCloseOrder ";
inline constexpr char kCloseOrderFailed[] = "ERROR  v1/CloseOrder/ ";

// Words of the lines that end a call or report a failure.
inline constexpr char kReturnWord[] = "RETURN";  // + " n" or "S n": the call's result
inline constexpr char kErrorWord[] = "ERROR";
inline constexpr char kErrorWordMixed[] = "Error";

// The check reader's own failure lines (initCheckXml).
inline constexpr char kCheckXmlThrew[] = "THROW SOME ERROR ";  // + error code
inline constexpr char kCheckDataMissing[] = "CheckdataNotFound";

// Both flows, before the token is chosen, and why none was.
inline constexpr char kTryGetToken[] = "TRY GET token";
inline constexpr char kNoTokenFound[] = "ERROR finding token";
inline constexpr char kTokenCheckMissing[] = "ERROR getToken XmlElementNotFound";  // + what

// Why a lookup or a posting ends with a failure of its own.
inline constexpr char kNoTokenLookup[] = "Cant get token! RETURN 1";
inline constexpr char kNoTokenPosting[] = "token error RETURN 1";
inline constexpr char kNumNotLookup[] = "num != 0 && num != 2 RETURN ";  // + initCheckXml's result
inline constexpr char kNumNotPosting[] = "NUM IS NOT 0 RETURNS ";        // + initCheckXml's result
inline constexpr char kNoChmodLookup[] = "Cant get chmod RETURN 1";
inline constexpr char kNoChmodPosting[] = "chmod error! RETURN 1";
inline constexpr char kCheckDataNotFound[] =
    "ERROR CheckdataNotFound && this is not checkChmod = 0, 9, 8, 10, 11, 12, 13 RETURN 1";
inline constexpr char kClientIdNotFound[] = "ERROR ClientId not found RETURN 1";
inline constexpr char kDepositWithoutAccount[] =
    "ERROR deposit payment names no account: cannot write off the deposit, nothing sent RETURN 1";
inline constexpr char kGuestInfoNotOk[] = "Error: not ok jsonGuestInfo RETURN 1";
inline constexpr char kGuestStatus2[] = "Error: status == 2 RETURN 1";
inline constexpr char kGuestStatusNot1[] = "Error: status != 1 RETURN 1";
// + the reply's text, which the line quotes.
inline constexpr char kDiscountRefused[] =
    "ERROR RETURN 1 in !ok || jsonDiscont[\"Status\"].GetInt() != 1";
inline constexpr char kPostingRefused[] =
    "ERROR in !ok || jsonResultRequest[\"Status\"].GetInt() != 1 RETURNS 1";
// A lookup for a blocked card, in Windows-1251:
// "Error: Карта заблокирована. Продажа по карте невозможна RETURN 0"
inline constexpr char kBlockedCard[] =
    "Error: \xca\xe0\xf0\xf2\xe0 \xe7\xe0\xe1\xeb\xee\xea\xe8\xf0\xee\xe2\xe0\xed\xe0. "
    "\xcf\xf0\xee\xe4\xe0\xe6\xe0 \xef\xee \xea\xe0\xf0\xf2\xe5 "
    "\xed\xe5\xe2\xee\xe7\xec\xee\xe6\xed\xe0 RETURN 0";
// The flows' catch-all (+ the fault's text + " RETURN 1").
inline constexpr char kReplyNotUsable[] = "ERROR service reply not usable: ";
inline constexpr char kCheckNotUsable[] = "ERROR check not usable: ";
// Missing check content, as the failure lines name it ("ERROR Node X not found ...").
inline constexpr char kErrorHead[] = "ERROR ";
// A lookup or a close whose discount request failed (+ its result).
inline constexpr char kDiscountFailed[] = "ERROR getDiscountRes != -1 RETURN ";
inline constexpr char kNodeHead[] = "Node ";
inline constexpr char kAttributeHead[] = "Attribute ";

// The retry wrapper (SendRequestWrapper).
inline constexpr char kTrySendRequestTo[] = "TRY SEND REQUEST TO ";  // + path + kWith + body
inline constexpr char kWith[] = " WITH ";
inline constexpr char kResponseWasNull[] = "RESPONSE WAS NULL, TRY CONNECT TO GOOGLE";
inline constexpr char kProbeFailed[] = "GOOGLE NOT WORKING, ERROR!";
inline constexpr char kProbeWorksRetryTo[] =
    "GOOGLE WORKS, TRY ANOTHER ONE TO ";  // + path + kWith + headers
inline constexpr char kInfoWasNull[] = "AND INFO WAS NULL";

// The holder lookup's direct request (+ body).
inline constexpr char kTryGetClientIdWith[] = "TRY GET ClientId from API WITH ";

// The transport (SendRequest).
inline constexpr char kHttpStatus[] = "HTTP status ";  // + status
inline constexpr char kNoRequestHandle[] = "ERROR WHILE SENDING hRequest == NULL ";
inline constexpr char kSendTimedOut[] =
    "ERROR WHILE SENDING WaitForSingleObject(hThread, dwTimeout ) == WAIT_TIMEOUT ";
inline constexpr char kNoExitCode[] =
    "RETURN vector<char> !GetExitCodeThread( hThread, &dwExitCode) ";
inline constexpr char kWorkerFailed[] = "RETURN vector<char> dwExitCode != 0 ";
inline constexpr char kReadFailed[] = "ERROR WHILE SENDING bRead == FALSE  ||  dwBytesRead == 0 ";
// The cause of a failed send or read: + code + ": " + the system's text.
inline constexpr char kWindowsError[] = "Windows error ";

}  // namespace logphrase
