// Compares the engine's high and low waters (tidedump day, every day of a year, every port of
// an area file) with a full harmonic prediction of the same TICON-4 station from all its
// constituents (@neaps/tide-predictor), heights above the station's chart datum.
//
//   node tidecheck.mjs [--tidedump PATH] [--area FILE] [--year 2025] [--zero LF4,LF6,MonthDZ0]
//                      [--ports 1,77] [--jobs N] [--worst 10]
//
// --zero writes a temporary copy of the area file with those fields set to 0 in every record,
// to see what the shallow-water and seasonal constants bring.

import { execFile } from "node:child_process";
import { mkdtempSync, readFileSync, rmSync, writeFileSync } from "node:fs";
import { cpus, tmpdir } from "node:os";
import { basename, dirname, join, resolve } from "node:path";
import { fileURLToPath } from "node:url";
import { allStations } from "@neaps/tide-database";
import { useStation } from "@neaps/tide-predictor";

const here = dirname(fileURLToPath(import.meta.url));
const repoRoot = join(here, "..", "..");

// ---------------------------------------------------------------- arguments

function parseArgs(argv) {
  const opts = {
    tidedump: process.env.TIDEDUMP ?? join(repoRoot, "build", "tools", "tidedump"),
    area: join(repoRoot, "data", "UK.hc"),
    year: 2025,
    zero: [],
    ports: null,
    jobs: cpus().length,
    worst: 10,
  };
  for (let i = 0; i < argv.length; i++) {
    const a = argv[i];
    const next = () => {
      if (i + 1 >= argv.length) throw new Error(`${a} needs a value`);
      return argv[++i];
    };
    if (a === "--tidedump") opts.tidedump = resolve(next());
    else if (a === "--area") opts.area = resolve(next());
    else if (a === "--year") opts.year = Number(next());
    else if (a === "--zero") opts.zero = next().split(",").filter(Boolean);
    else if (a === "--ports") opts.ports = next().split(",").map(Number);
    else if (a === "--jobs") opts.jobs = Number(next());
    else if (a === "--worst") opts.worst = Number(next());
    else throw new Error(`unknown argument ${a}`);
  }
  for (const f of opts.zero) {
    if (!["LF4", "LF6", "MonthDZ0", "sf4", "sf6"].includes(f)) throw new Error(`cannot zero ${f}`);
  }
  return opts;
}

// ---------------------------------------------------------------- area file

const RECORD_SIZE = 197;
const FIELDS = ["Z0", "M2g", "M2Hm", "S2g", "S2Hm", "K1g", "K1Hm", "O1g", "O1Hm", "sf4", "LF4", "sf6", "LF6"];
const OFF_CONSTANTS = 49;
const OFF_MONTH_DZ0 = 101;

function readArea(path) {
  const buf = readFileSync(path);
  const records = [];
  for (let i = 0; i * RECORD_SIZE < buf.length; i++) {
    const base = i * RECORD_SIZE;
    const c = Object.fromEntries(FIELDS.map((f, k) => [f, buf.readFloatLE(base + OFF_CONSTANTS + 4 * k)]));
    records.push({
      record: i + 1,
      name: buf.toString("latin1", base + 5, base + 40).trim(),
      latitude: buf.readFloatLE(base + 40),
      longitude: buf.readFloatLE(base + 44),
      zoneHours: "L".charCodeAt(0) - buf[base + 48], // UTC minus zone time, as the engine's ZoneHours
      ...c,
    });
  }
  return { buf, records };
}

function zeroedCopy(buf, fields) {
  const out = Buffer.from(buf);
  for (let base = 0; base < out.length; base += RECORD_SIZE) {
    for (const f of fields) {
      if (f === "MonthDZ0") for (let m = 0; m < 12; m++) out.writeFloatLE(0, base + OFF_MONTH_DZ0 + 4 * m);
      else out.writeFloatLE(0, base + OFF_CONSTANTS + 4 * FIELDS.indexOf(f));
    }
  }
  return out;
}

// The station ids in record order, from the route of the area in the data script.
function routeOf(areaFile) {
  const script = readFileSync(join(repoRoot, "tools", "areadata", "build-area-files.mjs"), "utf8");
  const at = script.indexOf(`file: "${areaFile}"`);
  if (at < 0) throw new Error(`${areaFile} is not built by the data script`);
  const start = script.indexOf("route: [", at);
  const end = script.indexOf("],", start);
  return [...script.slice(start, end).matchAll(/"(ticon\/[^"]+)"/g)].map((m) => m[1]);
}

function stationsFor(areaPath, records) {
  const ids = routeOf(basename(areaPath));
  if (ids.length !== records.length) throw new Error(`${ids.length} stations in the route, ${records.length} records`);
  const byId = new Map(allStations.map((s) => [s.id, s]));
  return records.map((r, i) => {
    const s = byId.get(ids[i]);
    if (!s) throw new Error(`station ${ids[i]} not in the database`);
    const m2 = s.harmonic_constituents.find((c) => c.name === "M2");
    const same =
      Math.fround(s.latitude) === r.latitude &&
      Math.fround(s.longitude) === r.longitude &&
      Math.fround(m2.amplitude) === r.M2Hm;
    if (!same) throw new Error(`record ${r.record} (${r.name}) does not match station ${s.id}`);
    return s;
  });
}

// ---------------------------------------------------------------- engine

function run(cmd, args) {
  return new Promise((ok, fail) =>
    execFile(cmd, args, { maxBuffer: 1 << 24 }, (err, stdout, stderr) =>
      err ? fail(new Error(`${cmd} ${args.join(" ")}: ${stderr || err.message}`)) : ok(stdout),
    ),
  );
}

async function pool(tasks, jobs) {
  const results = new Array(tasks.length);
  let next = 0;
  const worker = async () => {
    while (next < tasks.length) {
      const i = next++;
      results[i] = await tasks[i]();
    }
  };
  await Promise.all(Array.from({ length: jobs }, worker));
  return results;
}

const iso = (ms) => new Date(ms).toISOString().slice(0, 10);

// Events of one day as (UTC ms, height); tidedump gives clock times of the port's zone.
function parseDay(text, dayStartMs, zoneHours) {
  const lines = text.split("\n");
  const from = lines.indexOf("event,time,height");
  const events = [];
  for (let i = from + 1; i < lines.length && !lines[i].startsWith("range,"); i++) {
    const [, t, h] = lines[i].split(",").map(Number);
    events.push({ time: dayStartMs + (t + zoneHours) * 3600e3, level: h });
  }
  return events;
}

// The engine's search alternates highs and lows; each is told from its neighbours.
function classify(events) {
  events.sort((a, b) => a.time - b.time);
  return events.map((e, i) => {
    const prev = events[i - 1]?.level ?? -Infinity;
    const next = events[i + 1]?.level ?? -Infinity;
    const high = i === 0 ? e.level > next : i === events.length - 1 ? e.level > prev : e.level > prev && e.level > next;
    return { ...e, high };
  });
}

async function engineEvents(opts, areaPath, record) {
  const start = Date.UTC(opts.year, 0, 1);
  const days = (Date.UTC(opts.year + 1, 0, 1) - start) / 86400e3;
  const tasks = Array.from({ length: days }, (_, d) => async () => {
    const dayStart = start + d * 86400e3;
    const out = await run(opts.tidedump, ["day", areaPath, String(record.record), iso(dayStart)]);
    return parseDay(out, dayStart, record.zoneHours);
  });
  return classify((await pool(tasks, opts.jobs)).flat());
}

// ---------------------------------------------------------------- reference

function referenceEvents(station, year) {
  const margin = 12 * 3600e3;
  const { extremes, datum } = useStation(station).getExtremesPrediction({
    start: new Date(Date.UTC(year, 0, 1) - margin),
    end: new Date(Date.UTC(year + 1, 0, 1) + margin),
  });
  if (datum !== station.chart_datum) throw new Error(`${station.id}: heights above ${datum}`);
  return extremes.map((e) => ({ time: e.time.getTime(), level: e.level, high: e.high }));
}

// Reference events inside the year, for the count.
function inYear(events, year) {
  return events.filter((e) => e.time >= Date.UTC(year, 0, 1) && e.time < Date.UTC(year + 1, 0, 1)).length;
}

// ---------------------------------------------------------------- comparison

const MATCH_LIMIT_MS = 3 * 3600e3;

function nearest(sortedTimes, t) {
  let lo = 0;
  let hi = sortedTimes.length - 1;
  while (hi - lo > 1) {
    const mid = (lo + hi) >> 1;
    if (sortedTimes[mid] < t) lo = mid;
    else hi = mid;
  }
  return Math.abs(sortedTimes[lo] - t) <= Math.abs(sortedTimes[hi] - t) ? lo : hi;
}

function compare(engine, reference) {
  const kinds = [true, false].map((high) => {
    const refs = reference.filter((r) => r.high === high);
    return { refs, times: refs.map((r) => r.time) };
  });
  const dt = [];
  const dh = [];
  let unmatched = 0;
  for (const e of engine) {
    const { refs, times } = kinds[e.high ? 0 : 1];
    const r = refs[nearest(times, e.time)];
    if (!r || Math.abs(r.time - e.time) > MATCH_LIMIT_MS) {
      unmatched++;
      continue;
    }
    dt.push((e.time - r.time) / 60e3);
    dh.push(e.level - r.level);
  }
  return { dt, dh, unmatched, engineCount: engine.length, referenceCount: reference.length };
}

function quantile(values, q) {
  if (!values.length) return NaN;
  const s = [...values].sort((a, b) => a - b);
  const pos = (s.length - 1) * q;
  const lo = Math.floor(pos);
  return s[lo] + (s[Math.min(lo + 1, s.length - 1)] - s[lo]) * (pos - lo);
}

function summary(c) {
  const abs = (v) => v.map(Math.abs);
  return {
    engine: c.engineCount,
    reference: c.referenceCount,
    unmatched: c.unmatched,
    dtMed: quantile(abs(c.dt), 0.5),
    dtP95: quantile(abs(c.dt), 0.95),
    dtBias: quantile(c.dt, 0.5),
    dhMed: quantile(abs(c.dh), 0.5) * 100,
    dhP95: quantile(abs(c.dh), 0.95) * 100,
    dhBias: quantile(c.dh, 0.5) * 100,
  };
}

const COLUMNS =
  "  rec  port                               engine   ref unmatched | |dt| med  p95  bias min | |dh| med  p95  bias cm";

function row(label, s) {
  const f = (v, w, d = 1) => (Number.isFinite(v) ? v.toFixed(d) : "-").padStart(w);
  return (
    `${label} ${String(s.engine).padStart(6)} ${String(s.reference).padStart(5)} ${String(s.unmatched).padStart(9)}   ` +
    `${f(s.dtMed, 9)} ${f(s.dtP95, 5)} ${f(s.dtBias, 5)}     ${f(s.dhMed, 9)} ${f(s.dhP95, 5)} ${f(s.dhBias, 5)}`
  );
}

// ---------------------------------------------------------------- main

const opts = parseArgs(process.argv.slice(2));
const { buf, records } = readArea(opts.area);
const stations = stationsFor(opts.area, records);

let areaPath = opts.area;
let tempDir = null;
if (opts.zero.length) {
  tempDir = mkdtempSync(join(tmpdir(), "tidecheck-"));
  areaPath = join(tempDir, basename(opts.area));
  writeFileSync(areaPath, zeroedCopy(buf, opts.zero));
}

try {
  const chosen = records.filter((r) => !opts.ports || opts.ports.includes(r.record));
  console.log(
    `${basename(opts.area)}, ${opts.year}${opts.zero.length ? `, with ${opts.zero.join(", ")} set to 0` : ""}: ` +
      `engine (tidedump day, 10-minute rows) minus full prediction (all TICON-4 constituents, chart datum)`,
  );
  console.log(COLUMNS);
  const all = { dt: [], dh: [], unmatched: 0, engineCount: 0, referenceCount: 0 };
  const perPort = [];
  for (const r of chosen) {
    const station = stations[r.record - 1];
    const reference = referenceEvents(station, opts.year);
    const c = compare(await engineEvents(opts, areaPath, r), reference);
    c.referenceCount = inYear(reference, opts.year);
    all.dt.push(...c.dt);
    all.dh.push(...c.dh);
    all.unmatched += c.unmatched;
    all.engineCount += c.engineCount;
    all.referenceCount += c.referenceCount;
    const s = summary(c);
    perPort.push({ r, s });
    console.log(row(`${String(r.record).padStart(5)}  ${r.name.slice(0, 34).padEnd(34)}`, s));
  }
  console.log(row(`  all  ${"(every event of every port)".padEnd(34)}`, summary(all)));

  const worst = (key, label) => {
    console.log(`\nWorst ${opts.worst} by ${label}:`);
    for (const { r, s } of [...perPort].sort((a, b) => b.s[key] - a.s[key]).slice(0, opts.worst))
      console.log(row(`${String(r.record).padStart(5)}  ${r.name.slice(0, 34).padEnd(34)}`, s));
  };
  if (chosen.length > 1) {
    worst("dtP95", "95th percentile of |dt|");
    worst("dhP95", "95th percentile of |dh|");
  }
} finally {
  if (tempDir) rmSync(tempDir, { recursive: true, force: true });
}
