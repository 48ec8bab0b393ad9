// Times the yearly high-water export (two years of Dover, BM_TwoYearHighWaterExport) beside
// @neaps/tide-predictor finding the high and low waters of the same station over the same two
// years from all its constituents, and prints both medians and their ratio.
//
//   node exportspeed.mjs [--bench PATH] [--runs 5]      (or ENGINE_BENCH=PATH)

import { execFileSync } from "node:child_process";
import { dirname, join, resolve } from "node:path";
import { fileURLToPath } from "node:url";
import { performance } from "node:perf_hooks";
import { allStations } from "@neaps/tide-database";
import { useStation } from "@neaps/tide-predictor";

const here = dirname(fileURLToPath(import.meta.url));
const repoRoot = join(here, "..", "..");
const STATION = "ticon/dover-dov-gbr-bodc";
const BENCHMARK = "BM_TwoYearHighWaterExport";

function parseArgs(argv) {
  const opts = { bench: process.env.ENGINE_BENCH ?? join(repoRoot, "build", "bench", "engine_bench"), runs: 5 };
  for (let i = 0; i < argv.length; i++) {
    const a = argv[i];
    const next = () => {
      if (i + 1 >= argv.length) throw new Error(`${a} needs a value`);
      return argv[++i];
    };
    if (a === "--bench") opts.bench = resolve(next());
    else if (a === "--runs") opts.runs = Number(next());
    else throw new Error(`unknown argument ${a}`);
  }
  // Google Benchmark reports a median only for two repetitions or more.
  if (!Number.isInteger(opts.runs) || opts.runs < 2) throw new Error("--runs needs a whole number of 2 or more");
  return opts;
}

function median(values) {
  const v = [...values].sort((a, b) => a - b);
  const mid = Math.floor(v.length / 2);
  return v.length % 2 ? v[mid] : (v[mid - 1] + v[mid]) / 2;
}

// The benchmark's own median of its repetitions, in milliseconds.
function engineMs(bench, runs) {
  const out = execFileSync(
    bench,
    [
      `--benchmark_filter=^${BENCHMARK}$`,
      `--benchmark_repetitions=${runs}`,
      "--benchmark_report_aggregates_only=true",
      "--benchmark_format=json",
    ],
    { encoding: "utf8", maxBuffer: 16 << 20 },
  );
  const runsOut = JSON.parse(out).benchmarks;
  const med = runsOut.find((b) => b.aggregate_name === "median");
  if (!med) throw new Error(`${bench} reported no median for ${BENCHMARK}`);
  const perMs = { ns: 1e-6, us: 1e-3, ms: 1, s: 1e3 }[med.time_unit];
  return med.real_time * perMs;
}

// Median of warm runs of the full harmonic search over 1 January 2025 to 1 January 2027.
function neapsMs(runs) {
  const station = allStations.find((s) => s.id === STATION);
  if (!station) throw new Error(`${STATION} is not in @neaps/tide-database`);
  const span = { start: new Date(Date.UTC(2025, 0, 1)), end: new Date(Date.UTC(2027, 0, 1)) };
  const search = () => useStation(station).getExtremesPrediction(span).extremes.length;
  let events = 0;
  for (let i = 0; i < 3; i++) events = search(); // warm-up
  const times = [];
  for (let i = 0; i < runs; i++) {
    const t0 = performance.now();
    search();
    times.push(performance.now() - t0);
  }
  return { ms: median(times), events };
}

const opts = parseArgs(process.argv.slice(2));
const engine = engineMs(opts.bench, opts.runs);
const neaps = neapsMs(opts.runs);
console.log(`${BENCHMARK} (730 days of Dover, median of ${opts.runs}): ${engine.toFixed(1)} ms`);
console.log(
  `@neaps/tide-predictor getExtremesPrediction (${STATION}, 2025-2026, ${neaps.events} high and low waters, median of ${opts.runs} warm runs): ${neaps.ms.toFixed(1)} ms`,
);
console.log(`ratio: ${(engine / neaps.ms).toFixed(2)}`);
