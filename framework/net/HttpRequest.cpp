#include "framework/net/HttpRequest.h"

namespace Ovelund {

InternetHeaders ClientDefaultHeaders() {
    InternetHeaders headers;
    headers.SetHeader("Accept", "*/*");
    headers.SetHeader("Accept-Language", "en");
    headers.SetHeader("Content-length", "0");
    return headers;
}

String RequestBytes(const HttpUrl& url, InternetHeaders& headers) {
    if (!url.IsValid()) {
        return {};
    }
    headers.SetHeader("Host", url.host);
    headers.DeleteHeader("Content-length");
    headers.DeleteHeader("Content-type");

    String request = "GET " + url.target + " HTTP/" + kHttpVersion + "\r\n";
    for (std::int32_t i = 0; i < headers.Count(); ++i) {
        request += headers.Name(i) + ": " + headers.Value(i) + "\r\n";
    }
    request += "\r\n";
    return request;
}

} // namespace Ovelund
