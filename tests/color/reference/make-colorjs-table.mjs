// Writes ../data/colorjs-table.tsv: color conversions, gamut mapping, color
// text and our serialisations as colorjs.io computes them, for tst_colorforms.
// Run by hand after a change here: npm ci && node make-colorjs-table.mjs
//
// Rows (tab-separated; numbers as JavaScript prints them, full precision):
//   hsl    R G B     h s l        hsl-text      colorjs reads the text back (1/0)
//   oklch  R G B     l c h        oklch-text    colorjs reads the text back (1/0)
//   map    space     c1 c2 c3     r g b         (sRGB 0..1, gamut-mapped)
//   parse  text      css (1/0)    browser (1/0)   browser-color   colorjs (ok/throws)   r g b alpha   note
// "css" is whether CSS accepts the text by the grammar written out here, not
// by colorjs, which is more lenient (see the note column where they part).
// "browser" is what a browser engine says: CSS.supports("color", text) in
// headless /usr/bin/chromium; "browser-color" is its computed color for the
// accepted ones, as it serialises it (blank for refused ones). Where the
// grammar and the browser part, the note says so; the tests follow the browser.

import Color from "colorjs.io";
import { chromium } from "playwright-core";
import { writeFileSync, mkdirSync } from "node:fs";
import { dirname, join } from "node:path";
import { fileURLToPath } from "node:url";

const here = dirname(fileURLToPath(import.meta.url));
const out = join(here, "..", "data", "colorjs-table.tsv");

// A seeded generator, so that the table changes only when this script does.
let seed = 20261208;
function random() {
    seed = (seed + 0x6d2b79f5) | 0;
    let t = seed;
    t = Math.imul(t ^ (t >>> 15), t | 1);
    t ^= t + Math.imul(t ^ (t >>> 7), t | 61);
    return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
}
const between = (lo, hi) => lo + (hi - lo) * random();
const pick = (list) => list[Math.floor(random() * list.length)];
const byte = () => Math.floor(random() * 256);

// Tenths (or thousandths) as text, trailing zeros dropped: 625 tenths "62.5", 620 "62".
function scaled(units, decimals) {
    const scale = 10 ** decimals;
    const whole = Math.floor(units / scale);
    let part = String(units - whole * scale).padStart(decimals, "0").replace(/0+$/, "");
    return part ? `${whole}.${part}` : String(whole);
}

// Our copies write hue and percentages with one decimal and chroma with
// three; of the texts one step around the rounded one, the first (fewest
// steps off) that reads back to the same 8-bit color is taken. Where none
// does (some saturated OKLCH colors), one more decimal each.
const steps = [];
for (const a of [0, -1, 1]) for (const b of [0, -1, 1]) for (const c of [0, -1, 1]) steps.push([a, b, c]);
steps.sort((x, y) => x.reduce((s, v) => s + Math.abs(v), 0) - y.reduce((s, v) => s + Math.abs(v), 0));
const roundHalfUp = (x) => Math.floor(x + 0.5);
let finer = 0;

function nearestText(rgb, space, coords, scales, write) {
    for (const more of [1, 10]) {
        const sc = scales.map((v) => v * more);
        const base = coords.map((v, i) => roundHalfUp((Number.isNaN(v) || v === null ? 0 : v) * sc[i]));
        for (const step of steps) {
            const units = base.map((v, i) => Math.max(v + step[i], 0));
            const back = eight(new Color(space, units.map((v, i) => v / sc[i])).to("srgb").coords);
            if (same(back, rgb)) {
                if (more > 1) ++finer;
                return write(units, more > 1 ? 1 : 0);
            }
        }
    }
    return write(coords.map((v, i) => roundHalfUp(v * scales[i])), 0);
}

function hslText(rgb, [h, s, l]) {
    return nearestText(rgb, "hsl", [h, s, l], [10, 10, 10], ([ht, st, lt], more) =>
        `hsl(${st === 0 ? "0" : scaled(ht % (3600 * 10 ** more), 1 + more)} ${scaled(st, 1 + more)}% ${scaled(lt, 1 + more)}%)`);
}

function oklchText(rgb, [l, c, h]) {
    return nearestText(rgb, "oklch", [l, c, h], [1000, 1000, 10], ([lt, ct, ht], more) =>
        `oklch(${scaled(lt, 1 + more)}% ${scaled(ct, 3 + more)} ${ct === 0 ? "0" : scaled(ht % (3600 * 10 ** more), 1 + more)})`);
}

const eight = (coords) => coords.map((v) => Math.round(Math.min(Math.max(v, 0), 1) * 255));
const same = (a, b) => a.every((v, i) => v === b[i]);

function mapped(space, coords, alpha = 1) {
    const c = new Color(space, coords.map((v) => (v === null || Number.isNaN(v) ? 0 : v)), alpha);
    return c.to("srgb").toGamut({ space: "srgb", method: "css" }).coords;
}

const rows = [];

// sRGB 8-bit to HSL and OKLCH, and our texts read back.
const samples = [];
for (const v of [0, 1, 2, 127, 128, 254, 255]) {
    samples.push([v, v, v]);
    samples.push([v, 0, 0], [0, v, 0], [0, 0, v], [v, v, 0], [0, v, v], [v, 0, v]);
}
for (let n = 0; n < 1600; ++n) samples.push([byte(), byte(), byte()]);
let textFailures = 0;
for (const rgb of samples) {
    const color = new Color("srgb", rgb.map((v) => v / 255));
    const [h, s, l] = color.to("hsl").coords;
    const [ol, oc, oh] = color.to("oklch").coords;
    const texts = [
        ["hsl", [h, s, l], hslText(rgb, [h, s, l])],
        ["oklch", [ol, oc, oh], oklchText(rgb, [ol, oc, oh])],
    ];
    for (const [kind, coords, text] of texts) {
        const back = eight(new Color(text).to("srgb").coords);
        const ok = same(back, rgb);
        if (!ok) ++textFailures;
        rows.push([kind, rgb.join(" "), coords.map((v) => (Number.isNaN(v) || v === null ? 0 : v)).join(" "), text, ok ? 1 : 0]);
    }
}

// Coordinates in every space to gamut-mapped sRGB.
const spaces = {
    hsl: () => [between(-30, 400), between(-10, 110), between(-10, 110)],
    hwb: () => [between(0, 360), between(0, 70), between(0, 70)],
    lab: () => [between(0, 100), between(-160, 160), between(-160, 160)],
    lch: () => [between(0, 100), between(0, 230), between(0, 360)],
    oklab: () => [between(0, 1), between(-0.45, 0.45), between(-0.45, 0.45)],
    oklch: () => [between(0, 1), between(0, 0.5), between(0, 360)],
    p3: () => [between(-0.1, 1.1), between(-0.1, 1.1), between(-0.1, 1.1)],
    srgb: () => [between(-0.2, 1.2), between(-0.2, 1.2), between(-0.2, 1.2)],
};
const edges = {
    hsl: [[0, 0, 0], [0, 0, 100], [0, 100, 50], [120, 100, 50], [240, 100, 50], [0, 0, 50], [0, 100, 120], [359.9, 50, -5]],
    hwb: [[0, 0, 0], [0, 100, 0], [0, 0, 100], [0, 60, 60], [120, 0, 0], [240, 30, 20]],
    lab: [[0, 0, 0], [100, 0, 0], [50, 0, 0], [100, 125, 0], [60, -160, 160], [5, 80, -80]],
    lch: [[0, 0, 0], [100, 0, 0], [50, 0, 120], [70, 150, 30], [95, 100, 200], [3, 60, 300]],
    oklab: [[0, 0, 0], [1, 0, 0], [0.5, 0, 0], [0.999, 0.1, 0], [0.628, 0.225, 0.126], [0.2, -0.4, 0.4]],
    oklch: [[0, 0, 0], [1, 0, 0], [0.5, 0, 0], [0.628, 0.258, 29.2], [0.9, 0.4, 145], [0.05, 0.3, 264], [0.7, 0.37, 142.5]],
    p3: [[0, 0, 0], [1, 1, 1], [1, 0, 0], [0, 1, 0], [0, 0, 1], [0.5, 0.5, 0.5]],
    srgb: [[0, 0, 0], [1, 1, 1], [1.2, 0, 0], [-0.1, 0.5, 0.5], [1.05, 1.05, 1.05]],
};
for (const [space, make] of Object.entries(spaces)) {
    const inputs = [...edges[space]];
    for (let n = 0; n < 260; ++n) inputs.push(make());
    for (const coords of inputs) rows.push(["map", space, coords.join(" "), mapped(space, coords).join(" ")]);
}

// Color text. Each case knows whether CSS takes it and, if so, its color
// from the coordinates (what colorjs makes of the text is recorded beside).
const strings = [];
const valid = (text, space, coords, alpha = 1, note = "") => strings.push({ text, ok: true, space, coords, alpha, note });
const invalid = (text, note = "") => strings.push({ text, ok: false, note });

const blanks = () => pick(["", "", " ", "  ", "\t", " \n"]);
const gap = () => pick([" ", " ", "  ", "\t", "\n ", " \r\n"]);
const caseOf = (name) => (random() < 0.2 ? name.toUpperCase() : random() < 0.1 ? name[0].toUpperCase() + name.slice(1) : name);
function num(v) {
    const f = random();
    if (f < 0.1 && Number.isInteger(v) && v !== 0) return `${v}e0`;
    if (f < 0.15 && v > 0) return `+${v}`;
    return String(v);
}
const dec = (v, d) => Math.round(v * 10 ** d) / 10 ** d;

// A hue in a random unit: its text and degrees.
function hue() {
    const deg = dec(between(0, 360), 1);
    const unit = pick(["", "", "deg", "DEG", "turn", "rad", "grad"]);
    if (unit === "turn") return [`${dec(deg / 360, 4)}turn`, dec(deg / 360, 4) * 360];
    if (unit === "rad") return [`${dec((deg * Math.PI) / 180, 4)}rad`, (dec((deg * Math.PI) / 180, 4) * 180) / Math.PI];
    if (unit === "grad") return [`${dec(deg / 0.9, 2)}grad`, dec(deg / 0.9, 2) * 0.9];
    return [`${num(deg)}${unit}`, deg];
}
// An alpha: its text and value; mostly opaque.
function alphaPart() {
    const f = random();
    if (f < 0.5) return ["", 1];
    if (f < 0.6) return ["1", 1];
    if (f < 0.7) return ["100%", 1];
    if (f < 0.75) return ["2", 1];
    if (f < 0.8) return ["none", 0];
    if (f < 0.9) {
        const a = dec(random(), 2);
        return [String(a), a];
    }
    const p = dec(between(0, 100), 1);
    return [`${p}%`, p / 100];
}

// One valid text of a function in the space syntax, its parts as pieces so
// that mutations can break it.
function modern() {
    const kind = pick(["rgb", "rgba", "hsl", "hsla", "hwb", "lab", "lch", "oklab", "oklch", "srgb", "display-p3"]);
    const parts = [];
    let space, coords;
    const none = () => random() < 0.06;
    const c = (text, value) => (none() ? ["none", 0] : [text, value]);
    if (kind === "rgb" || kind === "rgba") {
        const vs = [0, 1, 2].map(() => (random() < 0.3 ? [`${dec(between(0, 100), 1)}%`, "p"] : [String(byte()), "n"]));
        const pieces = vs.map(([t]) => c(t, 0));
        space = "srgb";
        coords = pieces.map(([t]) => (t === "none" ? 0 : t.endsWith("%") ? parseFloat(t) / 100 : parseFloat(t) / 255));
        parts.push(...pieces.map(([t]) => t));
    } else if (kind === "hsl" || kind === "hsla" || kind === "hwb") {
        const [ht, hv] = c(...hue());
        const x = dec(between(0, kind === "hwb" ? 60 : 100), 1);
        const y = dec(between(0, kind === "hwb" ? 60 : 100), 1);
        const [xt, xv] = c(random() < 0.8 ? `${x}%` : String(x), x);
        const [yt, yv] = c(random() < 0.8 ? `${y}%` : String(y), y);
        space = kind === "hwb" ? "hwb" : "hsl";
        coords = [hv, xv, yv];
        parts.push(ht, xt, yt);
    } else if (kind === "lab" || kind === "lch") {
        const l = dec(between(0, 100), 2);
        const [lt, lv] = c(random() < 0.3 ? `${l}%` : String(l), l);
        if (kind === "lab") {
            const a = dec(between(-125, 125), 2), b = dec(between(-125, 125), 2);
            const [at, av] = c(random() < 0.2 ? `${dec((a / 125) * 100, 2)}%` : String(a), random() < 0.2 ? dec((a / 125) * 100, 2) * 1.25 : a);
            const [bt, bv] = c(String(b), b);
            coords = [lv, at.endsWith("%") ? parseFloat(at) * 1.25 : av, bv];
            parts.push(lt, at, bt);
        } else {
            const ch = dec(between(0, 150), 2);
            const [ct, cv] = c(random() < 0.2 ? `${dec((ch / 150) * 100, 2)}%` : String(ch), ch);
            const [ht, hv] = c(...hue());
            coords = [lv, ct.endsWith("%") ? parseFloat(ct) * 1.5 : cv, hv];
            parts.push(lt, ct, ht);
        }
        space = kind;
    } else if (kind === "oklab" || kind === "oklch") {
        const l = dec(random(), 3);
        const [lt, lv] = c(random() < 0.5 ? `${dec(l * 100, 1)}%` : String(l), random() < 0 ? 0 : l);
        const lValue = lt === "none" ? 0 : lt.endsWith("%") ? parseFloat(lt) / 100 : lv;
        if (kind === "oklab") {
            const a = dec(between(-0.4, 0.4), 3), b = dec(between(-0.4, 0.4), 3);
            const [at, av] = c(random() < 0.2 ? `${dec((a / 0.4) * 100, 1)}%` : String(a), a);
            const [bt, bv] = c(String(b), b);
            coords = [lValue, at === "none" ? 0 : at.endsWith("%") ? parseFloat(at) * 0.004 : av, bv];
            parts.push(lt, at, bt);
        } else {
            const ch = dec(between(0, 0.37), 3);
            const [ct, cv] = c(random() < 0.2 ? `${dec((ch / 0.4) * 100, 1)}%` : String(ch), ch);
            const [ht, hv] = c(...hue());
            coords = [lValue, ct === "none" ? 0 : ct.endsWith("%") ? parseFloat(ct) * 0.004 : cv, hv];
            parts.push(lt, ct, ht);
        }
        space = kind;
    } else {
        const vs = [0, 1, 2].map(() => dec(between(-0.05, 1.05), 3));
        const pieces = vs.map((v) => c(random() < 0.2 ? `${dec(v * 100, 1)}%` : String(v), v));
        coords = pieces.map(([t, v]) => (t === "none" ? 0 : t.endsWith("%") ? parseFloat(t) / 100 : v));
        space = kind === "srgb" ? "srgb" : "p3";
        parts.push(...pieces.map(([t]) => t));
    }
    const [at, av] = alphaPart();
    const name = kind === "srgb" || kind === "display-p3" ? "color" : kind;
    const lead = name === "color" ? [caseOf(kind)] : [];
    return { name, lead, parts, alphaText: at, alpha: av, space, coords };
}

function modernText(m, parts = m.parts) {
    const inside = [...m.lead, ...parts].join(gap()) + (m.alphaText ? `${blanks()}/${blanks()}${m.alphaText}` : "");
    return `${caseOf(m.name)}(${blanks()}${inside}${blanks()})`;
}

// CSS clamps rgb() components, and lightness and chroma in lab, lch, oklab
// and oklch, when it reads them; colorjs keeps them as written. The
// reference applies the clamps before converting.
function cssCoords(name, coords) {
    const clamp = (v, lo, hi) => Math.min(Math.max(v, lo), hi);
    switch (name) {
    case "rgb":
    case "rgba":
        return coords.map((v) => clamp(v, 0, 1));
    case "hsl":
    case "hsla":
        return [coords[0], Math.max(coords[1], 0), coords[2]];
    case "lab":
        return [clamp(coords[0], 0, 100), coords[1], coords[2]];
    case "lch":
        return [clamp(coords[0], 0, 100), Math.max(coords[1], 0), coords[2]];
    case "oklab":
        return [clamp(coords[0], 0, 1), coords[1], coords[2]];
    case "oklch":
        return [clamp(coords[0], 0, 1), Math.max(coords[1], 0), coords[2]];
    default:
        return coords;
    }
}

for (let n = 0; n < 1400; ++n) {
    const m = modern();
    valid(modernText(m), m.space, cssCoords(m.name, m.coords), m.alpha);
    // Broken forms of it: a comma among blanks, a part left out, a unit where
    // none belongs, a blank before the parenthesis, a fourth part without "/".
    const broken = random();
    if (broken < 0.2) {
        const parts = [...m.parts];
        parts[0] = `${parts[0]},`;
        invalid(modernText(m, parts), "comma in the space syntax");
    } else if (broken < 0.4) {
        invalid(modernText(m, m.parts.slice(0, 2)), "two parts");
    } else if (broken < 0.55) {
        const parts = [...m.parts];
        const k = m.parts.findIndex((p) => /^[+-]?[\d.]+(e0)?$/.test(p));
        if (k >= 0) {
            parts[k] = `${parts[k]}px`;
            invalid(modernText(m, parts), "unit on a plain number");
        }
    } else if (broken < 0.65) {
        invalid(`${m.name} ${modernText(m).slice(m.name.length)}`, "blank before the parenthesis");
    } else if (broken < 0.75 && !m.alphaText) {
        invalid(modernText(m, [...m.parts, "1"]), "alpha without a slash");
    }
}

// The comma syntax of rgb() and hsl().
for (let n = 0; n < 300; ++n) {
    const name = caseOf(pick(["rgb", "rgba", "hsl", "hsla"]));
    const lower = name.toLowerCase();
    const comma = () => `${blanks()},${blanks()}`;
    const [at, av] = alphaPart();
    const alphaText = at && at !== "none" ? `${comma()}${at}` : "";
    const alpha = at && at !== "none" ? av : 1;
    if (lower.startsWith("rgb")) {
        const percent = random() < 0.3;
        const vs = [byte(), byte(), byte()];
        const texts = percent ? vs.map((v) => `${dec((v / 255) * 100, 1)}%`) : vs.map(String);
        const coords = percent ? texts.map((t) => parseFloat(t) / 100) : vs.map((v) => v / 255);
        valid(`${name}(${blanks()}${texts.join(comma())}${alphaText}${blanks()})`, "srgb", coords, alpha);
        const mixed = [...texts];
        mixed[1] = percent ? String(vs[1]) : `${dec((vs[1] / 255) * 100, 1)}%`;
        invalid(`${name}(${mixed.join(", ")})`, "numbers and percentages mixed in the comma syntax");
        invalid(`${name}(${texts[0]}, none, ${texts[2]})`, "none in the comma syntax");
    } else {
        const [ht, hv] = hue();
        const s = dec(between(0, 100), 1), l = dec(between(0, 100), 1);
        valid(`${name}(${blanks()}${[ht, `${s}%`, `${l}%`].join(comma())}${alphaText}${blanks()})`, "hsl", [hv, s, l], alpha);
        invalid(`${name}(${ht}, ${s}, ${l})`, "numbers for saturation and lightness in the comma syntax");
        invalid(`${name}(${ht}, ${s}% ${l}%)`, "commas and blanks mixed");
    }
}

// Hex, names and the odd cases written out.
for (let n = 0; n < 200; ++n) {
    const digits = pick([3, 4, 6, 8]);
    let text = "";
    for (let k = 0; k < digits; ++k) text += pick("0123456789abcdefABCDEF".split(""));
    const v = (k) => (digits <= 4 ? parseInt(text[k] + text[k], 16) : parseInt(text.slice(2 * k, 2 * k + 2), 16));
    const alpha = digits === 4 || digits === 8 ? v(3) / 255 : 1;
    valid(`#${text}`, "srgb", [v(0) / 255, v(1) / 255, v(2) / 255], alpha);
}
for (const bad of ["#", "#1", "#12", "#12345", "#1234567", "#123456789", "#ggg", "#12 345", "##123"]) invalid(bad);
for (const [text, rgb] of [["red", [1, 0, 0]], ["RebeccaPurple", [0.4, 0.2, 0.6]], ["  white ", [1, 1, 1]], ["GREY", [128 / 255, 128 / 255, 128 / 255]]])
    valid(text, "srgb", rgb);
valid("transparent", "srgb", [0, 0, 0], 0);
// currentcolor is a color to CSS but names none of its own: the text
// around it decides, and a pasted color has none, so we refuse it.
invalid("currentcolor", "names no color of its own; refused on purpose");
for (const bad of ["chucknorris", "", "red blue", "rgb", "none"]) invalid(bad);

const written = [
    // Texts CSS reads that colorjs does not, or reads otherwise.
    ["rgb(1-2-3)", true, "srgb", [1 / 255, 0, 0], 1, "CSS cuts this into the numbers 1, -2 and -3"],
    ["rgb(1.5.5 0)", true, "srgb", [1.5 / 255, 0.5 / 255, 0], 1, "CSS cuts 1.5.5 into 1.5 and .5"],
    ["rgb(300 -5 127.4)", true, "srgb", [1, 0, 127.4 / 255], 1, "rgb() clamps"],
    ["rgb(+1 .5e1 1E1)", true, "srgb", [1 / 255, 5 / 255, 10 / 255], 1],
    ["rgba(1 2 3 / 50%)", true, "srgb", [1 / 255, 2 / 255, 3 / 255], 0.5],
    ["rgb(1, 2, 3, 4)", true, "srgb", [1 / 255, 2 / 255, 3 / 255], 1, "alpha above 1 clamps"],
    ["rgb(1 2 3 / -1)", true, "srgb", [1 / 255, 2 / 255, 3 / 255], 0, "alpha below 0 clamps"],
    ["hsl(120deg 100% 25% / 1)", true, "hsl", [120, 100, 25], 1],
    ["hsl(0.5turn 50% 50%)", true, "hsl", [180, 50, 50], 1],
    ["hsl(none none none)", true, "hsl", [0, 0, 0], 1],
    ["hsl(30 -20% 50%)", true, "hsl", [30, 0, 50], 1, "saturation below 0 counts as 0"],
    ["hwb(0 100% 100%)", true, "hwb", [0, 100, 100], 1],
    ["lab(150 0 0)", true, "lab", [100, 0, 0], 1, "lab() clamps its lightness"],
    ["lab(150 50 0)", true, "lab", [100, 50, 0], 1, "lab() clamps its lightness"],
    ["lch(140% 60 200)", true, "lch", [100, 60, 200], 1, "lch() clamps its lightness"],
    ["lab(50% 100% -100%)", true, "lab", [50, 125, -125], 1],
    ["lch(50 -20 30)", true, "lch", [50, 0, 30], 1, "chroma below 0 counts as 0"],
    ["oklch(62.8% 0.258 29.2)", true, "oklch", [0.628, 0.258, 29.2], 1],
    ["oklch(70% 0.4 145)", true, "oklch", [0.7, 0.4, 145], 1],
    ["oklch(1.2 0.2 30)", true, "oklch", [1, 0.2, 30], 1, "oklch() clamps its lightness"],
    ["OKLCH(50% 100% 1.5RAD)", true, "oklch", [0.5, 0.4, (1.5 * 180) / Math.PI], 1],
    ["oklab(0.5 none 0.1 / none)", true, "oklab", [0.5, 0, 0.1], 0],
    ["color(srgb 1 0.5 0)", true, "srgb", [1, 0.5, 0], 1],
    ["color(srgb 110% 50% -10%)", true, "srgb", [1.1, 0.5, -0.1], 1],
    ["color(display-p3 1 0 0)", true, "p3", [1, 0, 0], 1],
    ["color( display-p3 0 1 0 / 1 )", true, "p3", [0, 1, 0], 1],
    ["color(srgb-linear 0.5 0.5 0.5)", true, "srgb-linear", [0.5, 0.5, 0.5], 1],
    ["color(xyz 0.2 0.3 0.4)", true, "xyz-d65", [0.2, 0.3, 0.4], 1],
    ["color(xyz-d65 0.2 0.3 0.4)", true, "xyz-d65", [0.2, 0.3, 0.4], 1],
    ["color(xyz-d50 0.2 0.3 0.4)", true, "xyz-d50", [0.2, 0.3, 0.4], 1],
    ["rgb(none 0 0)", true, "srgb", [0, 0, 0], 1],
    ["rgb(10% 20 30%)", true, "srgb", [0.1, 20 / 255, 0.3], 1, "the space syntax mixes numbers and percentages"],
    ["hsla(10, 20%, 30%)", true, "hsl", [10, 20, 30], 1],
    ["rgba(1,2,3)", true, "srgb", [1 / 255, 2 / 255, 3 / 255], 1],
    ["rgb(1 2 3 / 0.5 )", true, "srgb", [1 / 255, 2 / 255, 3 / 255], 0.5],
    ["rgb(1 2 3/.5)", true, "srgb", [1 / 255, 2 / 255, 3 / 255], 0.5],
    ["RGB(1,2,3)", true, "srgb", [1 / 255, 2 / 255, 3 / 255], 1],
    ["rgb(1 2 3", true, "srgb", [1 / 255, 2 / 255, 3 / 255], 1, "the end of the text closes the parenthesis"],
    ["rgb(1, 2, 3", true, "srgb", [1 / 255, 2 / 255, 3 / 255], 1, "the end of the text closes the parenthesis"],
    ["hsl(120 100% 50% / 0.5", true, "hsl", [120, 100, 50], 0.5, "the end of the text closes the parenthesis"],
    ["color(srgb 1 0.5 0 ", true, "srgb", [1, 0.5, 0], 1, "the end of the text closes the parenthesis"],
    // Texts CSS refuses.
    ["rgb(1, 2 3)", false, "commas and blanks mixed"],
    ["rgb(1 2 3 4)", false, "alpha without a slash"],
    ["rgb(1 2 3 / 0.5 / 1)", false, "two slashes"],
    ["rgb(1 2 3 /)", false, "slash without alpha"],
    ["rgb(1, 2, 3 / 0.5)", false, "slash in the comma syntax"],
    ["rgb(1 2 3 / 1deg)", false, "unit on alpha"],
    ["rgb(none, 0, 0)", false, "none in the comma syntax"],
    ["rgb(10%, 2, 3)", false, "numbers and percentages mixed in the comma syntax"],
    ["hsl(30, 50, 50)", false, "numbers for saturation and lightness in the comma syntax"],
    ["hsl(10% 50% 50%)", false, "percentage for a hue"],
    ["hsl(10foo 50% 50%)", false, "unknown angle unit"],
    ["hwb(0, 10%, 10%)", false, "hwb() has no comma syntax"],
    ["lab(50, 10, 10)", false, "lab() has no comma syntax"],
    ["oklch(0.5, 0.1, 30)", false, "oklch() has no comma syntax"],
    ["color(srgb, 1, 0, 0)", false, "color() has no comma syntax"],
    ["color(foo 1 0 0)", false, "unknown color space"],
    ["color(srgb 1 0)", false, "two parts"],
    ["color(1 0 0)", false, "no color space"],
    ["color(srgb 1 0 0 0)", false, "alpha without a slash"],
    ["rgb(1px 2 3)", false, "unit on a plain number"],
    ["rgb()", false, "empty"],
    ["rgb(1 2", false, "unclosed, two parts"],
    ["rgb(1 2 3)(", false, "a parenthesis after it"],
    ["rgb(1 2 3))", false, "closed twice"],
    ["rgb(1 2 3) x", false, "text after it"],
    ["rgb (1 2 3)", false, "blank before the parenthesis"],
    ["rgb(1., 2, 3)", false, "point without digits"],
    ["rgb(1 2 3 / none none)", false, "two alphas"],
    ["hsl(1 2% 3% 4%)", false, "alpha without a slash"],
    ["lch(50 20 30%)", false, "percentage for a hue"],
    ["oklch(50% 0.1 30 / 1 2)", false, "two alphas"],
    ["rgb(1e 2 3)", false, "a unit e"],
    ["xyz(1 2 3)", false, "no such function"],
];
for (const [text, ok, ...rest] of written) {
    if (ok) valid(text, rest[0], rest[1], rest[2], rest[3] ?? "");
    else invalid(text, rest[0] ?? "");
}

// The browser's verdict on every text, in one page.
const browser = await chromium.launch({ executablePath: "/usr/bin/chromium" });
const page = await browser.newPage();
const verdicts = await page.evaluate((texts) => {
    const el = document.createElement("div");
    document.body.append(el);
    return texts.map((text) => {
        if (!CSS.supports("color", text)) return [false, ""];
        el.style.color = "";
        el.style.color = text;
        return [true, getComputedStyle(el).color];
    });
}, strings.map((s) => s.text));
const engine = `${browser.browserType().name()} ${browser.version()}`;
await browser.close();

let lenient = 0, strict = 0, otherColor = 0;
const parted = [];
strings.forEach((s, i) => { s.browser = verdicts[i][0]; s.browserColor = verdicts[i][1]; });
for (const s of strings) {
    let colorjs = "ok";
    let other = false;
    try {
        const parsed = new Color(s.text);
        if (parsed.coords.some((v) => typeof v === "string")) colorjs = "throws";
        else if (s.ok)
            other = !same(eight(mapped(parsed.space.id, parsed.coords)), eight(mapped(s.space, s.coords)));
    } catch {
        colorjs = "throws";
    }
    if (other) ++otherColor;
    if (s.ok && colorjs === "throws") ++strict;
    if (!s.ok && colorjs === "ok") ++lenient;
    const note = [s.note, s.ok === (colorjs === "ok") ? "" : s.ok ? "CSS reads it, colorjs does not" : "colorjs reads it, CSS does not",
        other ? "colorjs reads another color" : "",
        s.ok === s.browser ? "" : s.browser ? "the browser reads it, the grammar here does not" : "the grammar here reads it, the browser does not"]
        .filter(Boolean)
        .join("; ");
    const escaped = s.text.replace(/\\/g, "\\\\").replace(/\t/g, "\\t").replace(/\n/g, "\\n").replace(/\r/g, "\\r");
    if (s.ok !== s.browser) parted.push(`${s.browser ? "browser only" : "grammar only"}: ${JSON.stringify(s.text)}`);
    const seen = [s.browser ? 1 : 0, s.browserColor];
    if (s.ok) {
        const rgb = mapped(s.space, s.coords);
        rows.push(["parse", escaped, 1, ...seen, colorjs, rgb.join(" "), s.alpha, note]);
    } else {
        rows.push(["parse", escaped, 0, ...seen, colorjs, "", "", note]);
    }
}

mkdirSync(dirname(out), { recursive: true });
const header = "# Written by tests/color/reference/make-colorjs-table.mjs with colorjs.io " +
    JSON.parse((await import("node:fs")).readFileSync(join(here, "node_modules", "colorjs.io", "package.json"), "utf8")).version +
    ` and ${engine}`;
writeFileSync(out, [header, ...rows.map((r) => r.join("\t"))].join("\n") + "\n");
console.log(`${rows.length} rows; ${strings.length} texts (colorjs reads ${lenient} CSS refuses, refuses ${strict} CSS reads, reads ${otherColor} as another color); ` +
    `${textFailures} of our texts do not read back to their color, ${finer} need a decimal more; ` +
    `the browser and the grammar part on ${parted.length}`);
for (const line of parted) console.log(`  ${line}`);
