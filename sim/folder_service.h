#pragma once
// Under Wine the Windows simulator cannot change a folder's Unix mode itself: it asks the
// native tsw-sim that started Wine, through two files in a folder of their own (a mailbox)
// that the native side names in an environment variable.
//
// A request is its number (counting from 1), then on lines of their own the change (a folder
// read-only or writable, a file read-only or writable) and the Unix path; the reply is 0 for
// done, or what went wrong. Each is moved into place whole, and the asking side removes both
// once it has read the reply.

constexpr const char* FOLDER_SERVICE_VARIABLE = "TSW_FOLDER_SERVICE";
constexpr const char* FOLDER_REQUEST = "request";
constexpr const char* FOLDER_REPLY = "reply";
constexpr const char* FOLDER_DONE = "0";
constexpr const char* FOLDER_READ_ONLY = "readonly";
constexpr const char* FOLDER_WRITABLE = "writable";
constexpr const char* READ_ONLY_FILE = "file-readonly";
constexpr const char* WRITABLE_FILE = "file-writable";

#ifndef _WIN32
#include <string>

// Answers requests in MAILBOX until the process CHILD ends; returns its exit code, as a shell
// would (128 + the signal that ended it).
int serveFolderChangesUntilExit(int child, const std::string& mailbox);
#endif
