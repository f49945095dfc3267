#pragma once

#include "transfer/ex_string_list.h"
#include "transfer/reply_header.h"
#include "transfer/sock_client.h"

#include <functional>
#include <string>
#include <string_view>

class QIODevice;

namespace vdx {

enum class CmdType : int {
    Get = 0,
    Options = 1,
    Head = 2,
    Post = 3,
    Put = 4,
    Patch = 5,
    Copy = 6,
    Move = 7,
    Delete = 8,
    Link = 9,
    UnLink = 10,
    Trace = 11,
    Wrapped = 12,
};

// Optional values of the request header; empty ones are left out.
struct THeaderInfo {
    std::string LocalMailAddress;
    std::string LocalProgram;
    std::string Cookie;
    std::string Referer;
    std::string UserId;
    std::string Password;
};

// An HTTP/1.0 client on the socket layer: one request per call, following
// redirects, with the reply header parsed and the body captured into Body
// (or the file it names).
//
// A request counts as a success only when its reply is whole: the header
// ended with its blank line, and the body reached its Content-Length, its
// last chunk, or (with neither) an orderly close. A reply cut short, reset,
// malformed, beyond the bounds of reply_limits.h or stalled beyond TimeOut
// after the connection was made ends the request through OnFailure, not
// with an error.
class THttpClient : public TSockClient {
public:
    std::string Body = "Default.htm";
    std::string Header = "Head.txt";
    THeaderInfo HeaderInfo;
    bool InputFileMode = false;  // the reply body goes to the file named by Body
    bool OutputFileMode = false; // the request body is the file named by the post data,
                                 // the reply header goes to the file named by Header
    int MaxRedirects = 5;        // redirects followed before the request fails
    // When set (and not InputFileMode), the body of a successful reply is
    // written here instead of into Body, so that a large download goes
    // straight to disk. Bodies of error and redirect replies still go to Body.
    QIODevice* BodyDevice = nullptr;

    std::function<void()> OnAboutToSend;
    std::function<void(CmdType)> OnSuccess;
    std::function<void(CmdType)> OnFailure;
    std::function<void(bool& handled)> OnRedirect; // handled: do not follow
    std::function<void()> OnAuthenticationNeeded;

    void Get(std::string_view url);
    void Options(std::string_view url);
    void Head(std::string_view url);
    void Post(std::string_view url, std::string_view postData);
    void Put(std::string_view url, std::string_view data);
    void Patch(std::string_view url, std::string_view data);
    void Copy(std::string_view url, std::string_view destination);
    void Move(std::string_view url, std::string_view destination);
    void Delete(std::string_view url);
    void Link(std::string_view url, std::string_view destination);
    void UnLink(std::string_view url, std::string_view destination);
    void Trace(std::string_view url, std::string_view data);
    void Wrapped(std::string_view url, std::string_view data);

    // Stops the running request: its wait raises and the request ends.
    void Abort() override;

    // The steps of a request, open for tests: store a request without
    // running it, then parse its URL and build its header lines.
    void SetRequest(CmdType cmd, std::string_view url, std::string_view sendData = {},
                    std::string_view destination = {});
    void ParseURL();
    void BuildHeader();
    void ReadHeader();

    CmdType Command() const { return cmd_; }
    const std::string& Url() const { return url_; }
    const std::string& Path() const { return path_; }
    int Status() const { return status_; }
    int64_t ContentLength() const { return contentLength_; }
    // The last reply was whole (see above).
    bool ReplyComplete() const { return replyComplete_; }
    // Body bytes of the last reply kept or written, chunk framing removed.
    int64_t BodyLength() const { return bodyLength_; }
    const std::string& Location() const { return location_; }
    const TExStringList& HeaderLines() const { return headerLines_; }

private:
    void Run(CmdType cmd, std::string_view url, std::string_view sendData,
             std::string_view destination);
    void Execute();
    void SendRequest();
    void ReceiveBody();
    bool ExpectsBody() const;
    bool SendsBody() const;
    void Fail();
    void FollowLocation();
    void DisconnectQuietly();

    CmdType cmd_ = CmdType::Get;
    std::string url_;
    std::string path_;
    std::string sendData_;
    std::string destination_;
    int status_ = 0;
    int64_t contentLength_ = 0;
    std::string location_;
    std::string setCookie_;
    TExStringList headerLines_;
    TReplyHeaderParser parser_;
    std::string bodyPrefix_; // the start of a reply that had no header
    bool replyEmpty_ = false;
    bool headerComplete_ = false;
    bool replyComplete_ = false;
    int64_t bodyLength_ = 0;
};

const char* CmdName(CmdType cmd);

} // namespace vdx
