"""Screenshots as plain RGB pixels, the colour statistics the scheme checks ask for, and
reading text back from them."""

import subprocess
from collections import Counter


class Rect:
    """A rectangle in screen coordinates."""

    def __init__(self, x, y, width, height):
        self.x, self.y, self.width, self.height = x, y, width, height

    @classmethod
    def of(cls, extents):
        return cls(extents.x, extents.y, extents.width, extents.height)

    def inset(self, margin):
        return Rect(self.x + margin, self.y + margin,
                    max(0, self.width - 2 * margin), max(0, self.height - 2 * margin))

    def contains(self, x, y):
        return self.x <= x < self.x + self.width and self.y <= y < self.y + self.height

    def __repr__(self):
        return f"{self.width}x{self.height}+{self.x}+{self.y}"


class Image:
    """RGB pixels of a screen rectangle whose top left corner is at (left, top)."""

    def __init__(self, width, height, rgb, left=0, top=0):
        self.width, self.height, self.rgb = width, height, rgb
        self.left, self.top = left, top

    @classmethod
    def from_zpixmap(cls, width, height, data, left=0, top=0):
        """A 24-bit TrueColor ZPixmap with 32 bits a pixel, least significant byte first
        (what Xvfb serves): blue, green, red, unused."""
        data = bytes(data)
        if len(data) != width * height * 4:
            raise ValueError(f"unexpected image size {len(data)} for {width}x{height}")
        rgb = bytearray(width * height * 3)
        rgb[0::3] = data[2::4]
        rgb[1::3] = data[1::4]
        rgb[2::3] = data[0::4]
        return cls(width, height, bytes(rgb), left, top)

    def pixel(self, x, y):
        """The colour at a screen position."""
        offset = ((y - self.top) * self.width + (x - self.left)) * 3
        return tuple(self.rgb[offset:offset + 3])

    def colours(self, rect, excluded=()):
        """Counts the colours inside rect (clipped to the image), leaving out excluded rects."""
        counts = Counter()
        x0, y0 = max(rect.x, self.left), max(rect.y, self.top)
        x1 = min(rect.x + rect.width, self.left + self.width)
        y1 = min(rect.y + rect.height, self.top + self.height)
        for y in range(y0, y1):
            row = (y - self.top) * self.width
            for x in range(x0, x1):
                if any(r.contains(x, y) for r in excluded):
                    continue
                offset = (row + x - self.left) * 3
                counts[self.rgb[offset:offset + 3]] += 1
        return ColourCounts(counts)

    def ink(self, rect, is_ink):
        """The smallest Rect holding every pixel inside rect for which is_ink((r, g, b))
        holds, or None if there is none."""
        xs, ys = [], []
        for y in range(max(rect.y, self.top), min(rect.y + rect.height, self.top + self.height)):
            for x in range(max(rect.x, self.left), min(rect.x + rect.width, self.left + self.width)):
                if is_ink(self.pixel(x, y)):
                    xs.append(x)
                    ys.append(y)
        if not xs:
            return None
        return Rect(min(xs), min(ys), max(xs) - min(xs) + 1, max(ys) - min(ys) + 1)

    def whole(self):
        return Rect(self.left, self.top, self.width, self.height)

    def save_ppm(self, path):
        with open(path, "wb") as out:
            out.write(b"P6\n%d %d\n255\n" % (self.width, self.height))
            out.write(self.rgb)

    def same_as(self, other):
        return (self.width, self.height, self.rgb) == (other.width, other.height, other.rgb)


def read_text(image, language="ces"):
    """The text Tesseract reads in the image as one block of lines. The image is enlarged four
    times with ImageMagick's smoothing first: blocky pixels garble small text."""
    ppm = b"P6\n%d %d\n255\n" % (image.width, image.height) + image.rgb
    enlarged = subprocess.run(["convert", "ppm:-", "-colorspace", "Gray", "-resize", "400%",
                               "pgm:-"], input=ppm, capture_output=True, check=True, timeout=60)
    result = subprocess.run(["tesseract", "stdin", "stdout", "-l", language, "--psm", "6"],
                            input=enlarged.stdout, capture_output=True, check=True, timeout=60)
    return result.stdout.decode("utf-8")


class ColourCounts:
    def __init__(self, counts):
        self.counts = counts
        self.total = sum(counts.values())

    def share(self, colour):
        """The fraction of the pixels that have exactly this colour (0 when there are none)."""
        return self.counts.get(bytes(colour), 0) / self.total if self.total else 0.0

    def number(self, colour):
        return self.counts.get(bytes(colour), 0)

    def share_where(self, predicate):
        """The fraction of the pixels whose (r, g, b) satisfies the predicate."""
        if not self.total:
            return 0.0
        return sum(n for colour, n in self.counts.items() if predicate(tuple(colour))) / self.total

    def dominant(self):
        if not self.total:
            return None
        colour, _ = self.counts.most_common(1)[0]
        return tuple(colour)

    def describe(self, top=4):
        parts = [f"#{c.hex()} {n / self.total:.1%}" for c, n in self.counts.most_common(top)]
        return f"{self.total} px: " + ", ".join(parts)
