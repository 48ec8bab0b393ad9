// Writes a sample observed-height file: one day of 10-minute heights at Montoir-de-Bretagne,
// predicted from all the station's TICON-4 constituents (@neaps/tide-predictor), heights above
// the station's chart datum, clock times of UTC+1 (no summer time).
//
//   node heightsample.mjs [--date 2026-03-21] [--out ../../data/Montoir.ht]
//
// 144 records of 55 bytes, little-endian, no header: float32 ObsTime (decimal hours),
// float32 ObsHeight (metres), 12 zero bytes, 35 blanks.

import { renameSync, rmSync, writeFileSync } from "node:fs";
import { dirname, join, resolve } from "node:path";
import { fileURLToPath } from "node:url";
import { allStations } from "@neaps/tide-database";
import { useStation } from "@neaps/tide-predictor";

const here = dirname(fileURLToPath(import.meta.url));
const repoRoot = join(here, "..", "..");

const STATION_ID = "ticon/montoir_de_bretagne-6106-fra-refmar";
const ZONE_HOURS = 1; // clock time = UTC + 1 h
const STEP_MINUTES = 10;
const RECORDS = (24 * 60) / STEP_MINUTES;
const RECORD_SIZE = 55;
const OFF_TIME = 0;
const OFF_HEIGHT = 4;
const OFF_BLANKS = 20;
const MAX_CM = 2099;

function parseArgs(argv) {
  const opts = { date: "2026-03-21", out: join(repoRoot, "data", "Montoir.ht") };
  for (let i = 0; i < argv.length; i++) {
    const a = argv[i];
    const next = () => {
      if (i + 1 >= argv.length) throw new Error(`${a} needs a value`);
      return argv[++i];
    };
    if (a === "--date") opts.date = next();
    else if (a === "--out") opts.out = resolve(next());
    else throw new Error(`unknown argument ${a}`);
  }
  const m = /^(\d{4})-(\d{2})-(\d{2})$/.exec(opts.date);
  const midnight = m ? Date.UTC(Number(m[1]), Number(m[2]) - 1, Number(m[3])) : NaN;
  if (!Number.isFinite(midnight) || new Date(midnight).toISOString().slice(0, 10) !== opts.date)
    throw new Error(`--date ${opts.date}: expected a date YYYY-MM-DD`);
  opts.midnightUtc = midnight; // midnight of the date as if it were UTC
  return opts;
}

const clock = (hours, minutes) => `${String(hours).padStart(2, "0")}:${String(minutes).padStart(2, "0")}`;

function findStation() {
  const station = allStations.find((s) => s.id === STATION_ID);
  if (!station) throw new Error(`station ${STATION_ID} is not in @neaps/tide-database`);
  return station;
}

// One row per clock time 00:00 .. 23:50 of the date; heights in whole centimetres.
function predict(station, midnightUtc) {
  const predictor = useStation(station);
  const rows = [];
  for (let k = 0; k < RECORDS; k++) {
    const hours = Math.floor((k * STEP_MINUTES) / 60);
    const minutes = (k * STEP_MINUTES) % 60;
    const time = new Date(midnightUtc + ((hours - ZONE_HOURS) * 60 + minutes) * 60e3);
    const { level, datum } = predictor.getWaterLevelAtTime({ time });
    if (datum !== station.chart_datum) throw new Error(`${station.id}: heights above ${datum}, not ${station.chart_datum}`);
    const cm = Math.round(level * 100);
    const label = clock(hours, minutes);
    if (!(cm >= 0 && cm <= MAX_CM)) throw new Error(`height ${(cm / 100).toFixed(2)} m at ${label} is outside 0 to 20.99 m`);
    // As the entry dialog stores a time: hours + minutes / 60 in double, then float32.
    rows.push({ label, obsTime: hours + minutes / 60, cm });
  }
  return rows;
}

function encode(rows) {
  const buf = Buffer.alloc(rows.length * RECORD_SIZE);
  rows.forEach((r, k) => {
    const base = k * RECORD_SIZE;
    buf.writeFloatLE(r.obsTime, base + OFF_TIME);
    buf.writeFloatLE(r.cm / 100, base + OFF_HEIGHT);
    buf.fill(0x20, base + OFF_BLANKS, base + RECORD_SIZE);
  });
  return buf;
}

function writeAtomically(path, data) {
  const temp = `${path}.tmp-${process.pid}`;
  try {
    writeFileSync(temp, data);
    renameSync(temp, path);
  } catch (e) {
    rmSync(temp, { force: true });
    throw e;
  }
}

try {
  const opts = parseArgs(process.argv.slice(2));
  const rows = predict(findStation(), opts.midnightUtc);
  writeAtomically(opts.out, encode(rows));
  const low = rows.reduce((a, r) => (r.cm < a.cm ? r : a));
  const high = rows.reduce((a, r) => (r.cm > a.cm ? r : a));
  const h = (r) => `${(r.cm / 100).toFixed(2)} m at ${r.label}`;
  console.log(`${opts.out}: ${rows.length} records, ${opts.date} (UTC+1), lowest ${h(low)}, highest ${h(high)}`);
} catch (e) {
  console.error(`heightsample: ${e.message}`);
  process.exit(1);
}
