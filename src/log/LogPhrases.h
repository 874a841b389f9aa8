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
// Failures that end a call with 1 without naming a RETURN (+ an error code).
inline constexpr char kGuestInfoFailed[] = "ERROR v1/GuestInfo/ ";
inline constexpr char kCloseOrderBodyFailed[] = "ERROR getJsonResponseForCloseOrder ";
inline constexpr char kCloseOrderFailed[] = "ERROR  v1/CloseOrder/ ";

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
