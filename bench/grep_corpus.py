#!/usr/bin/env python3
"""Writes a large Shift-JIS (code page 932) corpus of Japanese and ASCII lines with CR LF line
ends, and a UTF-8 copy with LF line ends for checking line numbers with a UTF-8 grep.

usage: grep_corpus.py OUT_DIR [MEGABYTES]   (default 110)
"""
import os
import random
import sys


nouns = ("予定 会議 会議室 打合せ 締切 資料 報告 出張 電話 連絡 確認 相談 面談 研修 発表 企画 "
         "営業 経理 総務 開発 設計 試験 評価 納品 請求 見積 契約 来客 訪問 休暇 誕生日 記念日 "
         "病院 買物 夕食 昼食 散歩 旅行 映画 読書 掃除 洗濯 料理 運動 駅前 東京 大阪 名古屋").split()
particles = "を に が は と で も へ の から まで より".split()
verbs = ("する した します しました ある あった ない 行く 行った 来る 書く 読む 見る "
         "準備する 提出する 確認する 送る 届く 始める 終わる 決める 話す").split()
# People, as a day's text names them ("山田さんと打合せ"): the kind of line `山田.*さん` finds.
names = "山田 鈴木 佐藤 田中 高橋 山本 渡辺".split()
kana_words = "きょう あした ごご ごぜん よる あさ ひる みんな すこし たくさん ぜんぶ".split()
endings = ["。", "です", "ます", "", "！", "？", "でした", "。です"]
ascii_words = ("meeting deadline report review call email lunch project budget release "
               "office team alpha beta gamma delta client server build test plan memo "
               "todo done next week month year room schedule agenda notes").split()


def japanese_line():
    parts = []
    if random.random() < 0.3:
        parts.append("%s%d時%02d分 " % (random.choice(("", "午前", "午後")), random.randint(0, 23),
                                       random.choice((0, 15, 30, 45))))
    if random.random() < 0.15:
        parts.append(random.choice(names) + random.choice(("さん", "様", "部長")) +
                     random.choice(("と", "に", "から")))
    for _ in range(random.randint(1, 5)):
        parts.append(random.choice(nouns))
        if random.random() < 0.4:
            parts.append(random.choice(kana_words))
        parts.append(random.choice(particles))
    parts.append(random.choice(verbs))
    parts.append(random.choice(endings))
    return "".join(parts)


def ascii_line():
    words = [random.choice(ascii_words) for _ in range(random.randint(2, 9))]
    if random.random() < 0.3:
        words.insert(0, "%02d:%02d" % (random.randint(0, 23), random.randint(0, 59)))
    return " ".join(words)


def mixed_line():
    return japanese_line() + " " + ascii_line()


def pool(count):
    """Distinct lines (UTF-8 text) of the corpus's kinds."""
    lines = []
    for _ in range(count):
        r = random.random()
        lines.append(japanese_line() if r < 0.6 else ascii_line() if r < 0.85 else mixed_line())
    return lines


def main():
    out_dir = sys.argv[1]
    megabytes = int(sys.argv[2]) if len(sys.argv) > 2 else 110
    random.seed(20261208)
    # A pool of distinct lines sampled many times keeps generation fast.
    lines = pool(60000)
    pool_sjis = [line.encode("cp932") for line in lines]
    pool_utf8 = [line.encode("utf-8") for line in lines]
    target = megabytes * 1000 * 1000
    os.makedirs(out_dir, exist_ok=True)
    with open(os.path.join(out_dir, "corpus.sjis"), "wb") as sjis, \
            open(os.path.join(out_dir, "corpus.utf8"), "wb") as utf8:
        written = 0
        while written < target:
            picks = random.choices(range(len(lines)), k=20000)
            chunk = b"\r\n".join(pool_sjis[i] for i in picks) + b"\r\n"
            sjis.write(chunk)
            utf8.write(b"\n".join(pool_utf8[i] for i in picks) + b"\n")
            written += len(chunk)
    print("%s: %.1f MB" % (os.path.join(out_dir, "corpus.sjis"), written / 1e6))


if __name__ == "__main__":
    main()
