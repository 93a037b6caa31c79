// URL parsing: every part, its defaults, and the rules for ":" "?" "#".
#include <gtest/gtest.h>

#include "net/url.h"

namespace {

struct Parts {
    std::string scheme, username, password, domain;
    int port;
    std::string path, query, fragment;
};

Parts Parse(const char* text, const char* defaultScheme = "http", int defaultPort = 80) {
    c_Url* url = gc_new<c_Url>()->m_new(String(text), String(defaultScheme), defaultPort);
    return {url->scheme.ToUtf8(), url->username.ToUtf8(), url->password.ToUtf8(), url->domain.ToUtf8(),
            url->p_Port(),        url->path.ToUtf8(),     url->query.ToUtf8(),    url->fragment.ToUtf8()};
}

TEST(Url, StatisticsRequestSplitsIntoSchemeDomainPathAndQuery) {
    Parts p = Parse("http://stats.example.net/checkin.php?hello=1&gameID=3");
    EXPECT_EQ(p.scheme, "http");
    EXPECT_EQ(p.domain, "stats.example.net");
    EXPECT_EQ(p.port, 80);
    EXPECT_EQ(p.path, "/checkin.php");
    EXPECT_EQ(p.query, "hello=1&gameID=3");
    EXPECT_EQ(p.fragment, "");
    c_Url* url = gc_new<c_Url>()->m_new(String("http://h/checkin.php?hello=1&gameID=3"), String("http"), 80);
    EXPECT_EQ(url->p_FullPath().ToUtf8(), "/checkin.php?hello=1&gameID=3");
    EXPECT_EQ(url->p_Domain().ToUtf8(), "h");
}

TEST(Url, HostAndPortWithoutSchemeOrPathKeepDefaults) {
    Parts p = Parse("example.org:8080", "ftp", 21);
    EXPECT_EQ(p.scheme, "ftp");
    EXPECT_EQ(p.domain, "example.org");
    EXPECT_EQ(p.port, 8080);
    EXPECT_EQ(p.path, "/");
}

TEST(Url, UserInformationSplitsAtTheFirstColon) {
    Parts p = Parse("http://ann:se:cret@host.net:81/a");
    EXPECT_EQ(p.username, "ann");
    EXPECT_EQ(p.password, "se:cret");
    EXPECT_EQ(p.domain, "host.net");
    EXPECT_EQ(p.port, 81);
    EXPECT_EQ(p.path, "/a");
    Parts q = Parse("bob@host.net");
    EXPECT_EQ(q.username, "bob");
    EXPECT_EQ(q.password, "");
    EXPECT_EQ(q.domain, "host.net");
}

TEST(Url, ColonAfterTheFirstSlashBelongsToThePath) {
    Parts p = Parse("http://host/a:b/c");
    EXPECT_EQ(p.domain, "host");
    EXPECT_EQ(p.port, 80);
    EXPECT_EQ(p.path, "/a:b/c");
}

TEST(Url, QuestionMarkAfterTheHashIsPartOfTheFragment) {
    Parts p = Parse("http://host/p#frag?x=1");
    EXPECT_EQ(p.path, "/p");
    EXPECT_EQ(p.query, "");
    EXPECT_EQ(p.fragment, "frag?x=1");
    Parts q = Parse("http://host/p?x=1#frag");
    EXPECT_EQ(q.query, "x=1");
    EXPECT_EQ(q.fragment, "frag");
    c_Url* url = gc_new<c_Url>()->m_new(String("http://host/p?x=1#frag"), String("http"), 80);
    EXPECT_EQ(url->p_FullPath().ToUtf8(), "/p?x=1#frag");
}

TEST(Url, PortWithoutDigitsIsZeroAndLeadingDigitsCount) {
    EXPECT_EQ(Parse("http://host:abc/x").port, 0);
    EXPECT_EQ(Parse("http://host:/x").port, 0);
    EXPECT_EQ(Parse("http://host:12ab/x").port, 12);
}

TEST(Url, MarkersInsideTheQueryDoNotReachTheAddress) {
    // "://", "@" and ":" after the "?" are not scheme, user or port.
    Parts p = Parse("host?next=http://u:p@other:9");
    EXPECT_EQ(p.scheme, "http");
    EXPECT_EQ(p.username, "");
    EXPECT_EQ(p.domain, "host");
    EXPECT_EQ(p.port, 80);
    EXPECT_EQ(p.query, "next=http://u:p@other:9");
}

TEST(Url, SetAgainResetsEveryPart) {
    c_Url* url = gc_new<c_Url>()->m_new(String("https://u:p@a:1/x?q#f"), String("http"), 80);
    url->p_Set2(String("b"));
    EXPECT_EQ(url->scheme.ToUtf8(), "http");
    EXPECT_TRUE(url->username.IsEmpty());
    EXPECT_TRUE(url->password.IsEmpty());
    EXPECT_EQ(url->domain.ToUtf8(), "b");
    EXPECT_EQ(url->port, 80);
    EXPECT_EQ(url->p_FullPath().ToUtf8(), "/");
    EXPECT_EQ(url->url.ToUtf8(), "b");
}

TEST(Url, EmptyTextGivesDefaultsAndAnEmptyDomain) {
    Parts p = Parse("");
    EXPECT_EQ(p.domain, "");
    EXPECT_EQ(p.path, "/");
    EXPECT_EQ(p.port, 80);
}

}  // namespace
