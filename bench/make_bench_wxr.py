#!/usr/bin/env python3
"""Writes a deterministic WordPress export (WXR 1.2) for the import benchmark.

  make_bench_wxr.py FILE POSTS

POSTS published posts of about 1.5 KB of HTML each (paragraphs, bold, links, an image and
an entity or two), one hour apart, every hundredth sharing its second with the one before;
each with two comments, categories and post meta as WordPress writes them; and one page,
one attachment and one draft for every hundred posts. The file is streamed out, so any
size costs the generator no memory.
"""
import sys
from datetime import datetime, timedelta

HEAD = """<?xml version="1.0" encoding="UTF-8" ?>
<rss version="2.0"
\txmlns:excerpt="http://wordpress.org/export/1.2/excerpt/"
\txmlns:content="http://purl.org/rss/1.0/modules/content/"
\txmlns:wfw="http://wellformedweb.org/CommentAPI/"
\txmlns:dc="http://purl.org/dc/elements/1.1/"
\txmlns:wp="http://wordpress.org/export/1.2/"
>
<channel>
\t<title>Bench Blog</title>
\t<link>https://old.example</link>
\t<description>Just another blog</description>
\t<pubDate>Mon, 01 Jan 2024 00:00:00 +0000</pubDate>
\t<language>en-US</language>
\t<wp:wxr_version>1.2</wp:wxr_version>
\t<wp:base_site_url>https://old.example</wp:base_site_url>
\t<wp:base_blog_url>https://old.example</wp:base_blog_url>
"""

BODY = ("<!-- wp:paragraph -->\n<p>Post {n} begins with <strong>bold words</strong> and a "
        "<a href=\"https://old.example/{n}/\">link to itself</a>; caf\u00e9 &amp; cr\u00e8me "
        "br\u00fbl\u00e9e, \u201cquoted\u201d.</p>\n<!-- /wp:paragraph -->\n\n"
        "<!-- wp:image -->\n<figure class=\"wp-block-image\"><img src=\"https://old.example/"
        "wp-content/uploads/{year}/{month:02d}/photo-{n}.jpg\" alt=\"Photo {n}\"/></figure>\n"
        "<!-- /wp:image -->\n\n")
FILLER = ("<p>Lorem ipsum dolor sit amet, consectetur adipiscing elit, sed do eiusmod tempor "
          "incididunt ut labore et dolore magna aliqua. <em>Ut enim ad minim veniam</em>, quis "
          "nostrud exercitation ullamco laboris nisi ut aliquip ex ea commodo consequat.</p>\n\n")


def item(out, n, title, when, status, kind, content):
    stamp = when.strftime("%Y-%m-%d %H:%M:%S")
    out.write(f"""\t<item>
\t\t<title><![CDATA[{title}]]></title>
\t\t<link>https://old.example/{n}/</link>
\t\t<pubDate>{when.strftime("%a, %d %b %Y %H:%M:%S")} +0000</pubDate>
\t\t<dc:creator><![CDATA[admin]]></dc:creator>
\t\t<guid isPermaLink="false">https://old.example/?p={n}</guid>
\t\t<description></description>
\t\t<content:encoded><![CDATA[{content}]]></content:encoded>
\t\t<excerpt:encoded><![CDATA[]]></excerpt:encoded>
\t\t<wp:post_id>{n}</wp:post_id>
\t\t<wp:post_date><![CDATA[{stamp}]]></wp:post_date>
\t\t<wp:post_date_gmt><![CDATA[{stamp}]]></wp:post_date_gmt>
\t\t<wp:comment_status><![CDATA[open]]></wp:comment_status>
\t\t<wp:post_name><![CDATA[post-{n}]]></wp:post_name>
\t\t<wp:status><![CDATA[{status}]]></wp:status>
\t\t<wp:post_parent>0</wp:post_parent>
\t\t<wp:post_type><![CDATA[{kind}]]></wp:post_type>
\t\t<category domain="category" nicename="news"><![CDATA[News]]></category>
\t\t<wp:postmeta>
\t\t\t<wp:meta_key><![CDATA[_edit_last]]></wp:meta_key>
\t\t\t<wp:meta_value><![CDATA[1]]></wp:meta_value>
\t\t</wp:postmeta>
""")
    for c in range(2):
        out.write(f"""\t\t<wp:comment>
\t\t\t<wp:comment_id>{n * 10 + c}</wp:comment_id>
\t\t\t<wp:comment_author><![CDATA[Reader {c}]]></wp:comment_author>
\t\t\t<wp:comment_date><![CDATA[{stamp}]]></wp:comment_date>
\t\t\t<wp:comment_content><![CDATA[A comment on post {n}.]]></wp:comment_content>
\t\t\t<wp:comment_approved><![CDATA[1]]></wp:comment_approved>
\t\t</wp:comment>
""")
    out.write("\t</item>\n")


def main():
    path, posts = sys.argv[1], int(sys.argv[2])
    start = datetime(2010, 1, 1, 8, 0, 0)
    with open(path, "w", encoding="utf-8") as out:
        out.write(HEAD)
        for n in range(1, posts + 1):
            when = start + timedelta(hours=n - (1 if n % 100 == 0 else 0))
            content = BODY.format(n=n, year=when.year, month=when.month) + FILLER * 2
            item(out, n, f"Post {n}: caf\u00e9 & \u201cfriends\u201d", when, "publish", "post",
                 content)
            if n % 100 == 0:
                item(out, posts + n, f"Page {n}", when, "publish", "page", "A page.")
                item(out, 2 * posts + n, f"photo-{n}", when, "inherit", "attachment", "")
                item(out, 3 * posts + n, f"Draft {n}", when, "draft", "post", "Not yet.")
        out.write("</channel>\n</rss>\n")


if __name__ == "__main__":
    main()
