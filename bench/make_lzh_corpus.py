#!/usr/bin/env python3
"""Writes the archiver benchmark's inputs into a folder: one year of day files (365 small
Shift-JIS files with CR LF, some with a colour line, named as the program names them) and one
1 MB Shift-JIS text. Seeded, so every run measures the same bytes."""
import os
import random
import sys
from datetime import date, timedelta

out = sys.argv[1] if len(sys.argv) > 1 else "lzh-corpus"
rng = random.Random(20240101)
os.makedirs(os.path.join(out, "year"), exist_ok=True)

times = ["09:00", "09:30", "10:00", "11:00", "12:00", "13:00", "13:30", "15:00", "16:00", "18:30", "19:00"]
events = ["定例会議", "打ち合わせ", "歯医者", "病院", "昼食", "買い物", "図書館", "英会話", "ジム",
          "美容院", "銀行", "市役所", "保護者会", "ゴミ出し（燃えるゴミ）", "振込", "飲み会", "誕生日会"]
places = ["（第3会議室）", "（本社）", "駅前", "新宿", "横浜", "自宅", "", "", ""]
people = ["山田さん", "佐藤さん", "鈴木課長", "田中先生", "母", "子供たち", "友人", ""]
notes = ["資料を印刷しておくこと", "予定表を提出", "ソフトの更新", "請求書の確認", "傘を持っていく",
         "チケット予約済み", "メールで連絡する", "忘れずに！", "見積書を作成", "表計算の集計"]
holidays = {(1, 1): "元日", (2, 11): "建国記念の日", (4, 29): "昭和の日", (5, 3): "憲法記念日",
            (5, 5): "こどもの日", (8, 11): "山の日", (11, 3): "文化の日", (11, 23): "勤労感謝の日"}

def day_text(d):
    lines = []
    if rng.random() < 0.3:
        lines.append(str(rng.randrange(1, 4)))  # the colour line
    if (d.month, d.day) in holidays:
        lines.append(holidays[(d.month, d.day)])
    for _ in range(rng.randrange(1, 7)):
        kind = rng.random()
        if kind < 0.6:
            who = rng.choice(people)
            lines.append(f"{rng.choice(times)} {rng.choice(events)}{rng.choice(places)}" + (f" {who}と" if who else ""))
        elif kind < 0.9:
            lines.append("メモ：" + rng.choice(notes))
        else:
            lines.append(f"・{rng.choice(notes)}（{rng.randrange(1, 13)}月{rng.randrange(1, 29)}日まで）")
    return "".join(line + "\r\n" for line in lines)

d = date(2024, 1, 1)
for _ in range(365):
    with open(os.path.join(out, "year", f"KVR{d.year}{d.month:02d}{d.day:02d}.dat"), "wb") as f:
        f.write(day_text(d).encode("cp932"))
    d += timedelta(days=1)

# The large text: a diary of many such days, with dates and prose between them.
prose = ["今日は朝から雨が降っていた。", "電車が遅れて会議に間に合わなかった。", "久しぶりに友人と話した。",
         "夕方から晴れて、空がきれいだった。", "新しい計画について考えている。", "来週の予定を整理した。",
         "帰りに本屋に寄って、小説を二冊買った。", "体調が少し悪いので早めに寝ることにする。"]
parts = []
size = 0
d = date(2000, 1, 1)
while size < 1_000_000:
    chunk = f"■{d.year}年{d.month}月{d.day}日\r\n" + day_text(d)
    chunk += "".join(rng.choice(prose) for _ in range(rng.randrange(1, 5))) + "\r\n\r\n"
    data = chunk.encode("cp932")
    parts.append(data)
    size += len(data)
    d += timedelta(days=1)
with open(os.path.join(out, "text1mb.txt"), "wb") as f:
    f.write(b"".join(parts)[:1_000_000])
