#pragma once
// The addresses the program hands to the platform or asks for. They are constants of the program, on
// reserved example domains. The maker's web host serves the update document and the web site; the about
// window names the site by its bare host name, the upgrade question with the host's "www" label.

namespace WebAddresses {

inline constexpr const char* MakerWebHost = "www.example.com";
inline constexpr const char* UpdateDocumentURL = "http://www.example.com/Updates/tarnwick.xml";
inline constexpr const char* MakerWebSite = "http://www.example.com";
inline constexpr const char* MakerWebSiteBareHost = "http://example.com";
inline constexpr const char* DownloadURL = "http://www.example.com/Downloads/tarnwick.tar.gz";
inline constexpr const char* AuthorMail = "mailto:aldomir@example.com";
inline constexpr const char* OrderPage = "http://order.example.net/?TARNWICK&lang=en";

} // namespace WebAddresses
