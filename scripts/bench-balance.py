#!/usr/bin/python3
# SPDX-License-Identifier: GPL-2.0-or-later
"""Kelvra's correction against the tools people would pick instead, on real
photographs under known casts (bench-video.py does video, with the helpers
below).

Error: the angle in degrees between the mean RGB of a result and of the
picture before the cast. Steadiness: on a still camera's background, what one
fixed per-channel gain and offset from input to output cannot explain.

Run through scripts/bench-balance.sh, which fetches the pictures."""
import argparse
import concurrent.futures
import os
import subprocess
import sys
import tempfile

import numpy as np

SIZE = 320  # the longer side of every picture

# name, package, path inside the unpacked package; "tune" pictures are the
# ones balance's constants were chosen on, "apart" ones were only looked at
# afterwards.
SKIMAGE = 'usr/lib/python3/dist-packages/skimage/data/'
OPENCV = 'usr/share/doc/opencv-doc/examples/data/'
JXL = 'usr/share/libjxl-testdata/'
WALL = 'usr/share/wallpapers/'
PICTURES = [
    ('tune', 'astronaut', 'python3-skimage', SKIMAGE + 'astronaut.png'),
    ('tune', 'chelsea', 'python3-skimage', SKIMAGE + 'chelsea.png'),
    ('tune', 'coffee', 'python3-skimage', SKIMAGE + 'coffee.png'),
    ('tune', 'rocket', 'python3-skimage', SKIMAGE + 'rocket.jpg'),
    ('tune', 'motorcycle', 'python3-skimage', SKIMAGE + 'motorcycle_left.png'),
    ('tune', 'ihc', 'python3-skimage', SKIMAGE + 'ihc.png'),
    ('tune', 'hubble', 'python3-skimage', SKIMAGE + 'hubble_deep_field.jpg'),
    ('tune', 'fruits', 'opencv-doc', OPENCV + 'fruits.jpg'),
    ('tune', 'baboon', 'opencv-doc', OPENCV + 'baboon.jpg'),
    ('tune', 'building', 'opencv-doc', OPENCV + 'building.jpg'),
    ('tune', 'home', 'opencv-doc', OPENCV + 'home.jpg'),
    ('tune', 'leuvenA', 'opencv-doc', OPENCV + 'leuvenA.jpg'),
    ('tune', 'messi', 'opencv-doc', OPENCV + 'messi5.jpg'),
    ('tune', 'orange', 'opencv-doc', OPENCV + 'orange.jpg'),
    ('tune', 'squirrel', 'opencv-doc', OPENCV + 'squirrel_cls.jpg'),
    ('tune', 'aloe', 'opencv-doc', OPENCV + 'aloeL.jpg'),
    ('tune', 'butterfly', 'opencv-doc', OPENCV + 'butterfly.jpg'),
    ('tune', 'graffiti', 'opencv-doc', OPENCV + 'graf1.png'),
    ('tune', 'aerial', 'opencv-doc', OPENCV + 'aero1.jpg'),
    ('tune', 'flower', 'libjxl-testdata', JXL + 'jxl/flower/flower.png'),
    ('tune', 'room', 'libjxl-testdata', JXL + 'jxl/hdr_room.png'),
    ('tune', 'tulips', 'libjxl-testdata', JXL + 'external/wesaturate/500px/tmshre_riaphotographs_srgb8.png'),
    ('tune', 'coast', 'libjxl-testdata', JXL + 'external/wesaturate/500px/cvo9xd_keong_macan_srgb8.png'),
    ('tune', 'blossom', 'libjxl-testdata', JXL + 'external/wesaturate/500px/u76c0g_bliznaca_srgb8.png'),
    ('tune', 'pier', 'plasma-workspace-wallpapers', WALL + 'BytheWater/contents/images/1280x1024.jpg'),
    ('tune', 'forest', 'plasma-workspace-wallpapers', WALL + 'Path/contents/images/1280x1024.jpg'),
    ('tune', 'boats', 'plasma-workspace-wallpapers', WALL + 'EveningGlow/contents/images/1280x1024.jpg'),
    ('tune', 'leaf', 'plasma-workspace-wallpapers', WALL + 'FallenLeaf/contents/images/1280x1024.jpg'),
    ('apart', 'retina', 'python3-skimage', SKIMAGE + 'retina.jpg'),
    ('apart', 'motorcycle2', 'python3-skimage', SKIMAGE + 'motorcycle_right.png'),
    ('apart', 'apple', 'opencv-doc', OPENCV + 'apple.jpg'),
    ('apart', 'board', 'opencv-doc', OPENCV + 'board.jpg'),
    ('apart', 'desk', 'opencv-doc', OPENCV + 'stuff.jpg'),
    ('apart', 'leuvenB', 'opencv-doc', OPENCV + 'leuvenB.jpg'),
    ('apart', 'toys', 'opencv-doc', OPENCV + 'rubberwhale1.png'),
    ('apart', 'notebook', 'opencv-doc', OPENCV + 'ela_original.jpg'),
    ('apart', 'starry', 'opencv-doc', OPENCV + 'starry_night.jpg'),
    ('apart', 'aerial2', 'opencv-doc', OPENCV + 'aero3.jpg'),
    ('apart', 'graffiti2', 'opencv-doc', OPENCV + 'graf3.png'),
    ('apart', 'dog', 'opencv-doc', OPENCV + 'chicky_512.png'),
    ('apart', 'autumn', 'plasma-workspace-wallpapers', WALL + 'Autumn/contents/images/1280x1024.jpg'),
    ('apart', 'moss', 'plasma-workspace-wallpapers', WALL + 'OneStandsOut/contents/images/1280x1024.jpg'),
    ('apart', 'kite', 'plasma-workspace-wallpapers', WALL + 'Kite/contents/images/1280x1024.jpg'),
    ('apart', 'dusk', 'plasma-workspace-wallpapers', WALL + 'summer_1am/contents/images/1280x1024.jpg'),
    ('apart', 'jetty', 'plasma-workspace-wallpapers', WALL + 'ColdRipple/contents/images/1280x1024.jpg'),
]
# From the two packages the test command fetches anyway.
QUICK = ['astronaut', 'coffee', 'rocket', 'tulips', 'room']

# The casts, as ffmpeg filters; "kind" groups them in the verdicts.
CASTS = [
    ('none', 'none', None),
    ('warm', 'gain', 'colorchannelmixer=rr=1:gg=0.85:bb=0.65'),
    ('cool', 'gain', 'colorchannelmixer=rr=0.7:gg=0.88:bb=1'),
    ('green', 'gain', 'colorchannelmixer=rr=0.8:gg=1:bb=0.8'),
    ('magenta', 'gain', 'colorchannelmixer=rr=1:gg=0.8:bb=0.92'),
    ('faded', 'gain', 'colorchannelmixer=rr=0.95:gg=0.80:bb=0.55,colorlevels=romin=0.06:gomin=0.04:bomin=0.02'),
    ('bend', 'mid-tone', "lutrgb=r='pow(val/255,0.8)*255':b='pow(val/255,1.35)*255'"),
    # A camera's white setting for the wrong light: one gain well above 1,
    # and that channel's highlights clipped.
    ('hot', 'clipped', 'colorchannelmixer=rr=1.3:gg=1.05:bb=0.7'),
    ('blue', 'clipped', 'colorchannelmixer=rr=0.75:gg=1.0:bb=1.35'),
    ('lime', 'clipped', 'colorchannelmixer=rr=0.85:gg=1.25:bb=0.8'),
]
QUICK_CASTS = ['none', 'warm', 'faded', 'hot']
# Pictures whose highlights the hot cast clips in red, for the grid.
GRID_CLIPPED = ['coffee', 'home']


def ffmpeg(*args, data=None):
    return subprocess.run(['ffmpeg', '-hide_banner', '-nostdin', '-v', 'error', '-y', *args], input=data,
                          capture_output=True, check=True).stdout


def decode(path, filters='null'):
    """An RGB picture as a height x width x 3 array of bytes."""
    out = ffmpeg('-i', path, '-frames:v', '1', '-vf', filters + ',format=rgb24', '-f', 'image2pipe', '-c:v',
                 'ppm', '-')
    head = out.split(b'\n', 3)
    width, height = map(int, head[1].split())
    return np.frombuffer(head[3], np.uint8)[:width * height * 3].reshape(height, width, 3)


def encode(picture, path):
    height, width = picture.shape[:2]
    ffmpeg('-f', 'rawvideo', '-pix_fmt', 'rgb24', '-s', f'{width}x{height}', '-i', '-', path,
           data=np.ascontiguousarray(picture, np.uint8).tobytes())


def load(path):
    scale = f"scale='if(gt(iw,ih),{SIZE},-2)':'if(gt(iw,ih),-2,{SIZE})':flags=area"
    return decode(path, scale)


def with_cast(picture, cast_filter, work):
    if cast_filter is None:
        return picture
    path = os.path.join(work, 'in.png')
    encode(picture, path)
    return decode(path, cast_filter)


# Each method: a picture in, a picture out.
def through_file_tool(argv_of):
    def run(picture):
        with tempfile.TemporaryDirectory() as work:
            src, dst = os.path.join(work, 'in.png'), os.path.join(work, 'out.png')
            encode(picture, src)
            subprocess.run(argv_of(src, dst), check=True, capture_output=True)
            return decode(dst)
    return run


def opencv_balancer(make):
    def run(picture):
        import cv2
        bgr = np.ascontiguousarray(picture[:, :, ::-1])
        return make(cv2).balanceWhite(bgr)[:, :, ::-1]
    return run


def methods(kelvra, quick):
    out = {
        'kelvra (balance)': through_file_tool(lambda i, o: [kelvra, i, o, '-q']),
        'kelvra --plugin': through_file_tool(lambda i, o: [kelvra, i, o, '-q', '--plugin']),
        'kelvra --plugin --level 100': through_file_tool(lambda i, o: [kelvra, i, o, '-q', '--level', '100']),
    }
    if quick:
        return out
    out.update({
        'ffmpeg normalize': through_file_tool(lambda i, o: ['ffmpeg', '-v', 'error', '-y', '-i', i, '-vf',
                                                            'normalize', o]),
        'ImageMagick -normalize': through_file_tool(lambda i, o: ['convert', i, '-channel', 'RGB', '-normalize',
                                                                  o]),
        'OpenCV SimpleWB': opencv_balancer(lambda cv2: cv2.xphoto.createSimpleWB()),
        'OpenCV GrayworldWB': opencv_balancer(lambda cv2: cv2.xphoto.createGrayworldWB()),
    })
    return out


def angle(a, b):
    ma = a.reshape(-1, 3).astype(float).mean(0)
    mb = b.reshape(-1, 3).astype(float).mean(0)
    cos = ma @ mb / (np.linalg.norm(ma) * np.linalg.norm(mb) + 1e-12)
    return float(np.degrees(np.arccos(min(1.0, cos))))


def pictures_of(roots, names):
    out = []
    for group, name, package, path in PICTURES:
        if names and name not in names:
            continue
        out.append((group, name, load(os.path.join(roots[package], path))))
    return out


def measure_pictures(pictures, casts, methods_by_name):
    """errors[method][cast] = list of (error, uncorrected error) per picture,
    and the corrected pictures for the grid."""
    errors = {m: {c[0]: [] for c in casts} for m in methods_by_name}
    kept = {}
    jobs = []
    with tempfile.TemporaryDirectory() as work, concurrent.futures.ThreadPoolExecutor(os.cpu_count()) as pool:
        for _, name, original in pictures:
            for cast_name, _, cast_filter in casts:
                cast = with_cast(original, cast_filter, work)
                for method, run in methods_by_name.items():
                    jobs.append((name, original, cast_name, cast, method, pool.submit(run, cast)))
        for name, original, cast_name, cast, method, job in jobs:
            result = job.result()
            errors[method][cast_name].append((angle(result, original), angle(cast, original)))
            kept[(name, cast_name, method)] = result
            kept[(name, cast_name, 'cast')] = cast
            kept[(name, 'none', 'original')] = original
    return errors, kept


def table(errors, casts, select=None):
    lines = ['| method | ' + ' | '.join(c[0] for c in casts) + ' | worse by > 0.5° |',
             '|---|' + '---|' * (len(casts) + 1)]
    for method, by_cast in errors.items():
        cells, worse = [], 0
        for cast_name, _, _ in casts:
            values = [e for i, e in enumerate(by_cast[cast_name]) if select is None or select[i]]
            err = np.array([v[0] for v in values])
            cells.append(f'{err.mean():.2f} / {err.max():.2f}')
            if cast_name != 'none':
                worse += sum(1 for v in values if v[0] > v[1] + 0.5)
        lines.append(f'| {method} | ' + ' | '.join(cells) + f' | {worse} |')
    uncorrected = [np.array([v[1] for i, v in enumerate(errors[next(iter(errors))][c[0]])
                             if select is None or select[i]]) for c in casts]
    lines.append('| uncorrected | ' + ' | '.join(f'{u.mean():.2f} / {u.max():.2f}' for u in uncorrected) +
                 ' | |')
    return '\n'.join(lines)


def grid(kept, rows_of, columns, path):
    """One row per (picture, cast); the column 'cast' is the row's cast."""
    rows = []
    for name, cast_name in rows_of:
        height = kept[(name, 'none', 'original')].shape[0]
        tiles = []
        for column in columns:
            key = (name, 'none', 'original') if column == 'original' else (name, cast_name, column)
            tile = np.zeros((height, SIZE, 3), np.uint8)
            picture = kept[key]
            tile[:, :picture.shape[1]] = picture
            tiles.append(tile)
        rows.append(np.concatenate(tiles, 1))
    encode(np.concatenate(rows, 0), path)


def frames_of(path, limit, size):
    # Every decoded frame once: no repeats for a constant output rate.
    raw = ffmpeg('-i', path, '-vsync', 'passthrough', '-frames:v', str(limit), '-vf', f'scale={size},format=rgb24',
                 '-f', 'rawvideo', '-')
    width, height = map(int, size.split(':'))
    return np.frombuffer(raw, np.uint8).reshape(-1, height, width, 3)


def still(frames):
    """The background of a still camera: pixels that vary by less than 3 levels."""
    return frames.std(0).max(-1) < 3.0


def steadiness(frames_in, frames_out):
    """The background's added variation and largest added jump, in levels."""
    fin = frames_in.astype(np.float32)
    fout = frames_out.astype(np.float32)
    background = still(fin)
    residuals = []
    for c in range(3):
        x = fin[:, background, c].ravel().astype(np.float64)
        y = fout[:, background, c].ravel().astype(np.float64)
        # The least-squares line, as polyfit gives it, without its slow solver.
        dx, dy = x - x.mean(), y - y.mean()
        gain = dx @ dy / max(dx @ dx, 1e-12)
        offset = y.mean() - gain * x.mean()
        residuals.append((fout[:, background, c] - (gain * fin[:, background, c] + offset)).mean(1))
    residual = np.array(residuals)  # channel x frame
    added = float(residual.std(1).max())
    jump = float(np.abs(np.diff(residual, axis=1)).max())
    return added, jump, float(background.mean())


def write(out, text, mode):
    with open(os.path.join(out, 'results.md'), mode) as f:
        f.write(text)
    print(text, flush=True)


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument('--kelvra', required=True)
    parser.add_argument('--root', action='append', default=[], help='PACKAGE=FOLDER, where it is unpacked')
    parser.add_argument('--out', required=True, help='folder for the tables and pictures')
    parser.add_argument('--quick', action='store_true', help='a few pictures and casts, kelvra alone')
    parser.add_argument('--check', action='store_true',
                        help='fail unless balance keeps its numbers (with --quick: the test command)')
    args = parser.parse_args()
    roots = dict(r.split('=', 1) for r in args.root)
    os.makedirs(args.out, exist_ok=True)

    casts = [c for c in CASTS if not args.quick or c[0] in QUICK_CASTS]
    pictures = pictures_of(roots, QUICK if args.quick else None)
    by_name = methods(args.kelvra, args.quick)
    errors, kept = measure_pictures(pictures, casts, by_name)
    tune = [g == 'tune' for g, _, _ in pictures]
    report = ['## All pictures', table(errors, casts)]
    if not args.quick:
        report += ['## Tuned on', table(errors, casts, tune),
                   '## Kept apart', table(errors, casts, [not t for t in tune])]
        peers = [m for m in by_name if not m.startswith('kelvra')]
        gain_casts = [c[0] for c in casts if c[1] == 'gain']
        best = min(peers, key=lambda m: np.mean([e[0] for c in gain_casts for e in errors[m][c]]))
        rows = [(name, 'warm') for name in ('astronaut', 'tulips', 'leuvenB', 'toys')]
        rows += [(name, 'hot') for name in GRID_CLIPPED]
        grid(kept, rows, ['original', 'cast', 'kelvra (balance)', 'kelvra --plugin --level 100', best],
             os.path.join(args.out, 'grid.png'))
        report.append(f'Grid columns: original, cast (warm; the last {len(GRID_CLIPPED)} rows hot), '
                      f'kelvra (balance), kelvra --plugin --level 100, {best}')
    write(args.out, '\n\n'.join(report) + '\n', 'w')

    if args.check:
        # What balance reaches on the quick set (0.76, 0.76, 0.98 and 1.34;
        # 5.38 under hot with the clipped white taken for the light's, 1.58
        # with the below-clip white taken whole), with room for ffmpeg's
        # casts to round otherwise: a regression of half a degree shows.
        limits = {'none': 1.25, 'warm': 1.25, 'faded': 1.45, 'hot': 1.85}
        failed = False
        for cast_name, limit in limits.items():
            mean = np.mean([e[0] for e in errors['kelvra (balance)'][cast_name]])
            print(f'balance, {cast_name}: mean {mean:.2f}° (at most {limit}°)')
            failed |= mean > limit
        sys.exit(1 if failed else 0)


if __name__ == '__main__':
    main()
