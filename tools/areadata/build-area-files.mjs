// Builds the shipped area files data/UK.hc and data/France.hc from the
// TICON-4 harmonic constants in @neaps/tide-database.
//
//   cd tools/areadata && npm ci && node build-area-files.mjs
//
// Output is deterministic: the same package version gives the same bytes.

import { writeFileSync, readFileSync, mkdirSync } from "node:fs";
import { dirname, join, relative } from "node:path";
import { fileURLToPath } from "node:url";
import { allStations } from "@neaps/tide-database";

const here = dirname(fileURLToPath(import.meta.url));
const repoRoot = join(here, "..", "..");
const dataDir = join(repoRoot, "data");

// ---------------------------------------------------------------- record layout

const RECORD_SIZE = 197;
const PORTNO_WIDTH = 5;
const NAME_WIDTH = 35;
const OFF_LAT = 40;
const OFF_LON = 44;
const OFF_ZONE = 48;
const OFF_CONSTANTS = 49; // Z0, M2g, M2Hm, S2g, S2Hm, K1g, K1Hm, O1g, O1Hm, sf4, LF4, sf6, LF6
const OFF_MONTH_DZ0 = 101;
const OFF_MONTH_M2HM = 149;
const CONSTANT_FIELDS = ["Z0", "M2g", "M2Hm", "S2g", "S2Hm", "K1g", "K1Hm", "O1g", "O1Hm", "sf4", "LF4", "sf6", "LF6"];

// Degrees per hour, for referring phases to a zone time.
const SPEED = {
  M2: 28.9841042,
  S2: 30.0,
  K1: 15.0410686,
  O1: 13.9430356,
};

const LICENCE = "cc-by-4.0";
const SITE_RADIUS_KM = 3;
const DOVER_RECORD = 77;

// ---------------------------------------------------------------- areas

// Each route lists the kept stations in coastal order; the build fails if the
// selection and the route disagree, so a package update cannot reorder silently.
const AREAS = [
  {
    file: "UK.hc",
    prefix: "UK",
    zoneLetter: "L",
    zoneHours: 0,
    countries: ["GB", "IE", "IM", "JE", "GG"],
    bounds: { south: 49, north: 61.5, west: -11, east: 2.5 },
    // Stations whose position does not match their name; their constants
    // duplicate another kept station.
    exclude: {
      "ticon/castletownbere-835-irl-uhslc_fd":
        "placed near Union Hall, 55 km from Castletownbere; constants match Castletownbere Port",
      "ticon/castletownsend-835a-irl-uhslc_rq":
        "duplicate of ticon/castletownbere-835-irl-uhslc_fd, same misplaced position",
    },
    route: [
      // Ireland, clockwise from Malin Head
      "ticon/malin_head-834-irl-uhslc_fd",
      "ticon/portrush-pru-gbr-bodc",
      "ticon/skerries_harbour-ske-irl-mi_c",
      "ticon/howth_water_level_2-how-irl-mi_c",
      "ticon/dublin_port-dub-irl-mi_c",
      "ticon/arklow_harbour_opw_station-ark-irl-mi_c",
      "ticon/wexford_harbour-wex-irl-mi_c",
      "ticon/rosslare-ros-irl-mi_c",
      "ticon/dunmore_east_harbour-dun-irl-mi_c",
      "ticon/ballycotton_harbour-bal-irl-mi_c",
      "ticon/union_hall_harbor_2-uni-irl-mi_c",
      "ticon/castletownbere_port-cas-irl-mi_c",
      "ticon/dingle_harbour-din-irl-mi_c",
      "ticon/fenit_opw_station-fen-irl-mi_c",
      "ticon/kilrush_lough-kil-irl-mi_c",
      "ticon/kinvara_unreferenced-kin-irl-mi_c",
      "ticon/galway_port-gal-irl-mi_c",
      "ticon/inishmore-ini-irl-mi_c",
      "ticon/roonagh_pier-roo-irl-mi_c",
      "ticon/newport_burrishoole-nbu-irl-mi_r",
      "ticon/ballyglass_harbour-bal-irl-mi_c",
      "ticon/sligo-sli-irl-mi_c",
      "ticon/killybegs_port-kil-irl-mi_c",
      "ticon/aranmore_island_leabgarrow-ara-irl-mi_c",
      // Isle of Man
      "ticon/port_eri_isle_of_man-iom-gbr-bodc",
      // Channel Islands
      "ticon/st_helier_jersey-jer-gbr-bodc",
      // Great Britain, clockwise from the Solent
      "ticon/portsmouth-ptm-gbr-bodc",
      "ticon/sandown_pier-sdp-gbr-cco",
      "ticon/southampton-sou-gbr-da_idh",
      "ticon/lymington-lym-gbr-cco",
      "ticon/bournemouth-bou-gbr-bodc",
      "ticon/swanage_pier-swp-gbr-cco",
      "ticon/weymouth-wey-gbr-bodc",
      "ticon/west_bay_harbour-wbh-gbr-cco",
      "ticon/exmouth-exm-gbr-cco",
      "ticon/teignmouth_pier-tnp-gbr-cco",
      "ticon/devonport-dev-gbr-bodc",
      "ticon/newlyn-new-gbr-bodc",
      "ticon/st_marys-stm-gbr-da_idh",
      "ticon/port_isaac-pti-gbr-cco",
      "ticon/ilfracombe-ilf-gbr-bodc",
      "ticon/hinkley_point-hin-gbr-bodc",
      "ticon/avonmouth-avo-gbr-bodc",
      "ticon/severn_bridge-ssc-gbr-cco",
      "ticon/newport-npo-gbr-bodc",
      "ticon/penarth-pen-gbr-cco",
      "ticon/mumbles-mum-gbr-bodc",
      "ticon/milford_haven-mha-gbr-bodc",
      "ticon/fishguard-fis-gbr-bodc",
      "ticon/holyhead-hol-gbr-bodc",
      "ticon/llandudno-lla-gbr-bodc",
      "ticon/liverpool_gladstone_dock-liv-gbr-bodc",
      "ticon/heysham-hey-gbr-bodc",
      "ticon/workington-wor-gbr-bodc",
      "ticon/portpatrick-por-gbr-bodc",
      "ticon/millport-mil-gbr-bodc",
      "ticon/port_ellen_islay-isl-gbr-bodc",
      "ticon/tobermory-tob-gbr-bodc",
      "ticon/ullapool-ull-gbr-bodc",
      "ticon/stornoway-sto-gbr-bodc",
      "ticon/kinlochbervie-kin-gbr-bodc",
      "ticon/wick-wic-gbr-bodc",
      "ticon/lerwick-ler-gbr-bodc",
      "ticon/moray_firth-mor-gbr-bodc",
      "ticon/aberdeen-abe-gbr-bodc",
      "ticon/leith-lei-gbr-bodc",
      "ticon/north_shields-nsh-gbr-bodc",
      "ticon/whitby-whi-gbr-bodc",
      "ticon/scarborough-sca-gbr-cco",
      "ticon/immingham-imm-gbr-bodc",
      "ticon/cromer-cro-gbr-bodc",
      "ticon/lowestoft-low-gbr-bodc",
      "ticon/felixstowe-fel-gbr-bodc",
      "ticon/harwich-har-gbr-bodc",
      "ticon/herne_bay-hby-gbr-cco",
      "ticon/deal_pier-dlp-gbr-cco",
      "ticon/dover-dov-gbr-bodc", // must stay record 77
      "ticon/hastings_pier-hgp-gbr-cco",
      "ticon/newhaven-nha-gbr-bodc",
      "ticon/brighton-btn-gbr-cco",
      "ticon/arun_platform-arn-gbr-cco",
    ],
    checkRecord: { number: DOVER_RECORD, id: "ticon/dover-dov-gbr-bodc" },
  },
  {
    file: "France.hc",
    prefix: "FR",
    zoneLetter: "M",
    zoneHours: 1,
    countries: ["FR"],
    bounds: { south: 43.3, north: 51.2, west: -5.5, east: 2.6 },
    exclude: {},
    route: [
      // Channel, Dunkerque westwards
      "ticon/dunkerque-2-fra-refmar",
      "ticon/calais-55-fra-refmar",
      "ticon/boulogne_sur_mer-111-fra-refmar",
      "ticon/dieppe-24-fra-refmar",
      "ticon/le_havre-4-fra-refmar",
      "ticon/ouistreham-311-fra-refmar",
      "ticon/cherbourg-13-fra-refmar",
      "ticon/dielette-628-fra-refmar",
      "ticon/saint_malo-410-fra-refmar",
      "ticon/saint_quay_portrieux-506-fra-refmar",
      "ticon/roscoff-54-fra-refmar",
      // Brittany, Atlantic side
      "ticon/le_conquet-152-fra-refmar",
      "ticon/brest-822-fra-uhslc_fd",
      "ticon/audierne_port-6305-fra-refmar",
      "ticon/concarneau-160-fra-refmar",
      "ticon/port_tudy-71-fra-refmar",
      "ticon/le_crouesty-185-fra-refmar",
      // Loire estuary, upstream
      "ticon/saint_nazaire-37-fra-refmar",
      "ticon/donges-396-fra-refmar",
      "ticon/paimboeuf-6095-fra-refmar",
      "ticon/cordemais-397-fra-refmar",
      "ticon/le_pellerin-398-fra-refmar",
      "ticon/nantes_usine_brulee-399-fra-refmar",
      "ticon/nantes_salorges-6143-fra-refmar",
      // Biscay, southwards
      "ticon/saint_gildas-36-fra-refmar",
      "ticon/herbaudiere-198-fra-refmar",
      "ticon/les_sables_d_olonne-62-fra-refmar",
      "ticon/aiguillon_sur_mer-6257-fra-refmar",
      "ticon/pont_du_brault-6269-fra-refmar",
      "ticon/la_rochelle_la_pallice-34-fra-refmar",
      "ticon/ile_d_aix-189-fra-refmar",
      "ticon/rochefort-118-fra-refmar",
      "ticon/bourcefranc_le_chapus-155-fra-refmar",
      "ticon/la_cotiniere-736-fra-refmar",
      "ticon/royan-308-fra-refmar",
      "ticon/port_bloc-15-fra-refmar",
      // Gironde, upstream
      "ticon/richard-150-fra-refmar",
      "ticon/lamena-191-fra-refmar",
      "ticon/pauillac-192-fra-refmar",
      "ticon/fort_medoc-6117-fra-refmar",
      "ticon/ambes-6118-fra-refmar",
      "ticon/le_marquis-669-fra-refmar",
      "ticon/bassens-6119-fra-refmar",
      "ticon/bordeaux-196-fra-refmar",
      // Landes and Basque coast
      "ticon/arcachon_eyrac-190-fra-refmar",
      "ticon/mimizan-6144-fra-refmar",
      "ticon/bayonne_boucau-94-fra-refmar",
      "ticon/saint_jean_de_luz_socoa-95-fra-refmar",
    ],
  },
];

// These -cco stations carry a neighbour's name; their id names them correctly.
const NAME_FROM_ID = [
  "brighton",
  "hastings_pier",
  "port_isaac",
  "scarborough",
  "severn_bridge",
  "teignmouth_pier",
  "west_bay_harbour",
];

// Port names as sailors know them. The database's names carry the gauge ("OPW Station",
// "Water Level 2", the harbour, port, pier or dock it stands in), its state ("Unreferenced"),
// an island after the town, or a garble. Each entry maps the database's name (or the one
// NAME_FROM_ID makes) to the name written. The build fails if an entry is not used, if a name
// still ends in a gauge word, or if two ports of a file share a name.
const RENAMES = new Map([
  // UK.hc
  ["Skerries Harbour", "Skerries"],
  ["Howth Water Level 2", "Howth"],
  ["Dublin Port", "Dublin"],
  ["Arklow Harbour OPW Station", "Arklow"],
  ["Wexford Harbour", "Wexford"],
  ["Dunmore East Harbour", "Dunmore East"],
  ["Ballycotton Harbour", "Ballycotton"],
  ["Union Hall Harbor 2", "Union Hall"],
  ["Castletownbere Port", "Castletownbere"],
  ["Dingle Harbour", "Dingle"],
  ["Fenit OPW Station", "Fenit"],
  ["Kilrush Lough", "Kilrush"],
  ["Kinvara Unreferenced", "Kinvara"],
  ["Galway Port", "Galway"],
  ["Ballyglass Harbour", "Ballyglass"],
  ["Killybegs Port", "Killybegs"],
  ["Aranmore Island Leabgarrow", "Aranmore"],
  ["Port Eri Isle of Man", "Port Erin"],
  ["St Helier Jersey", "St Helier"],
  ["Sandown Pier", "Sandown"],
  ["Swanage Pier", "Swanage"],
  ["West Bay Harbour", "West Bay"],
  ["Teignmouth Pier", "Teignmouth"],
  ["St Marys", "St Mary's"],
  ["Liverpool Gladstone Dock", "Liverpool"],
  ["Port Ellen Islay", "Port Ellen"],
  ["Deal Pier", "Deal"],
  ["Hastings Pier", "Hastings"],
  // France.hc
  ["Audierne Port", "Audierne"],
  ["Les Sables D'Olonne", "Les Sables d'Olonne"],
  ["Ile D'Aix", "Ile d'Aix"],
  ["Arcachon Eyrac", "Arcachon"],
  ["Saint Jean-de-Luz Socoa", "Saint Jean-de-Luz"],
]);

// Words of a gauge rather than a place at the end of a name.
const GAUGE_SUFFIX = /(\bOPW\b.*|\bStation|\bWater Level\b.*|\bUnreferenced|\bHarbou?r|\bPort|\bPier|\bDock|\s\d+)$/;
// Names that end in such a word and still name the place: Roonagh Pier is a pier and no more.
const PLACE_NAMED_LIKE_A_GAUGE = new Set(["Roonagh Pier"]);

// ---------------------------------------------------------------- helpers

const mod360 = (x) => {
  const r = x % 360;
  return r < 0 ? r + 360 : r;
};

function distanceKm(a, b) {
  const rad = Math.PI / 180;
  const dLat = (b.latitude - a.latitude) * rad;
  const dLon = (b.longitude - a.longitude) * rad;
  const h =
    Math.sin(dLat / 2) ** 2 +
    Math.cos(a.latitude * rad) * Math.cos(b.latitude * rad) * Math.sin(dLon / 2) ** 2;
  return 2 * 6371.0 * Math.asin(Math.sqrt(h));
}

const isAccepted = (s) => s.quality?.accepted !== false;
const isRiverGauge = (s) => s.id.endsWith("-mi_r");

// The database's name, or the id's for the stations of NAME_FROM_ID.
function sourceName(station) {
  const local = station.id.replace(/^ticon\//, "");
  const stem = local.split("-")[0];
  if (local.endsWith("-cco") && NAME_FROM_ID.includes(stem)) {
    return stem
      .split("_")
      .map((w) => w.charAt(0).toUpperCase() + w.slice(1))
      .join(" ");
  }
  return station.name.trim();
}

const renamesUsed = new Set();

function portName(station) {
  const source = sourceName(station);
  const name = RENAMES.get(source) ?? source;
  if (RENAMES.has(source)) renamesUsed.add(source);
  if (GAUGE_SUFFIX.test(name) && !PLACE_NAMED_LIKE_A_GAUGE.has(name)) {
    throw new Error(`${station.id}: "${name}" still names the gauge; add it to RENAMES`);
  }
  if (encodeCp1252(name).length > NAME_WIDTH) {
    throw new Error(`${station.id}: "${name}" is longer than ${NAME_WIDTH} characters`);
  }
  return name;
}

// Windows-1252 bytes 0x80..0x9F that differ from Latin-1.
const CP1252_EXTRA = new Map(
  [
    [0x20ac, 0x80], [0x201a, 0x82], [0x0192, 0x83], [0x201e, 0x84], [0x2026, 0x85],
    [0x2020, 0x86], [0x2021, 0x87], [0x02c6, 0x88], [0x2030, 0x89], [0x0160, 0x8a],
    [0x2039, 0x8b], [0x0152, 0x8c], [0x017d, 0x8e], [0x2018, 0x91], [0x2019, 0x92],
    [0x201c, 0x93], [0x201d, 0x94], [0x2022, 0x95], [0x2013, 0x96], [0x2014, 0x97],
    [0x02dc, 0x98], [0x2122, 0x99], [0x0161, 0x9a], [0x203a, 0x9b], [0x0153, 0x9c],
    [0x017e, 0x9e], [0x0178, 0x9f],
  ],
);

function cp1252Byte(ch) {
  const c = ch.codePointAt(0);
  if (c < 0x80 || (c >= 0xa0 && c <= 0xff)) return c;
  return CP1252_EXTRA.get(c);
}

function encodeCp1252(text) {
  const bytes = [];
  for (const ch of text.normalize("NFC")) {
    let b = cp1252Byte(ch);
    if (b === undefined) {
      // Fall back to the letter without its accent.
      const base = ch.normalize("NFD").replace(/\p{M}/gu, "");
      b = base.length === 1 ? cp1252Byte(base) : undefined;
    }
    if (b === undefined) throw new Error(`"${text}" is not representable in Windows-1252`);
    bytes.push(b);
  }
  return bytes;
}

function putText(buf, offset, width, text) {
  const bytes = encodeCp1252(text).slice(0, width);
  buf.fill(32, offset, offset + width);
  Buffer.from(bytes).copy(buf, offset);
}

// Day of year (1-based, common year) of the 15th of each month.
const MID_MONTH_DOY = [0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334].map((d) => d + 15);

function seasonalOffsets(sa, ssa) {
  return MID_MONTH_DOY.map((doy) => {
    const h = 280.46 + 0.9856474 * (doy - 1);
    const rad = Math.PI / 180;
    return (
      sa.amplitude * Math.cos((h - sa.phase) * rad) +
      ssa.amplitude * Math.cos((2 * h - ssa.phase) * rad)
    );
  });
}

// ---------------------------------------------------------------- selection

function select(area) {
  const { south, north, west, east } = area.bounds;
  const inArea = allStations.filter(
    (s) =>
      s.kind === "tide" &&
      area.countries.includes(s.country_code) &&
      s.latitude >= south && s.latitude <= north &&
      s.longitude >= west && s.longitude <= east,
  );

  const skipped = [];
  const stats = { inArea: inArea.length, licensed: 0, licenceExcluded: {}, rejected: 0, merged: 0 };
  const candidates = [];
  for (const s of inArea) {
    const lic = s.license?.type ?? "none";
    if (lic !== LICENCE) {
      (stats.licenceExcluded[lic] ??= []).push(s.id);
      continue;
    }
    stats.licensed++;
    const reason = problem(s, area);
    if (reason) {
      stats.rejected++;
      skipped.push([s.id, reason]);
    } else {
      candidates.push(s);
    }
  }

  // One station per site: accepted first, a river gauge only if no coastal one,
  // then the better quality score.
  candidates.sort(
    (a, b) =>
      isAccepted(b) - isAccepted(a) ||
      isRiverGauge(a) - isRiverGauge(b) ||
      (b.quality?.score ?? 0) - (a.quality?.score ?? 0) ||
      (a.id < b.id ? -1 : a.id > b.id ? 1 : 0),
  );
  const kept = [];
  for (const s of candidates) {
    const near = kept.find((k) => distanceKm(k, s) < SITE_RADIUS_KM);
    if (near) {
      stats.merged++;
      skipped.push([s.id, `same site as ${near.id} (${distanceKm(near, s).toFixed(2)} km)`]);
    } else {
      kept.push(s);
    }
  }
  return { kept, skipped, stats };
}

// Why a licensed station in the area cannot be used, or null.
function problem(s, area) {
  if (area.exclude[s.id]) return area.exclude[s.id];
  if (s.quality?.accepted === false && s.quality.reason !== "duplicate") {
    return `rejected by the database (${s.quality.reason})`;
  }
  if (s.type !== "reference") return "subordinate station";
  const m2 = s.harmonic_constituents.find((c) => c.name === "M2");
  if (!m2 || !(m2.amplitude > 0)) return "no M2";
  const cd = s.chart_datum;
  if (!cd || s.datums?.[cd] === undefined || s.datums?.MSL === undefined) return "no MSL or chart datum";
  return null;
}

function order(area, kept) {
  const byId = new Map(kept.map((s) => [s.id, s]));
  const missing = area.route.filter((id) => !byId.has(id));
  const unplaced = kept.filter((s) => !area.route.includes(s.id)).map((s) => s.id);
  if (missing.length || unplaced.length || new Set(area.route).size !== area.route.length) {
    throw new Error(
      `${area.file}: route and selection differ\n  not selected: ${missing.join(", ") || "-"}\n  not in route: ${unplaced.join(", ") || "-"}`,
    );
  }
  return area.route.map((id) => byId.get(id));
}

// ---------------------------------------------------------------- records

// Complex numbers as [re, im]; phasors H e^{ig} with g in degrees.
const RAD = Math.PI / 180;
const phasor = (H, g) => [H * Math.cos(g * RAD), H * Math.sin(g * RAD)];

// The engine adds LF4 R^2 cos(sf4 + 2a) and LF6 R^3 cos(sf6 + 3a), where R e^{ia} is the sum
// of the M2 and S2 phasors H e^{i(g - V)}. Expanded, (M2 + S2)^n is a sum of compound
// constituents, each F_n times the coefficient k H_M2^m H_S2^s e^{i(m g_M2 + s g_S2)}.
// F_n = LF_n e^{i sf_n} is fitted by least squares to the station's phasors H e^{ig} of those
// constituents (0 where it has none): F = sum(conj(c) z) / sum(|c|^2).
const SHALLOW_TERMS = {
  4: [
    { name: "M4", m: 2, s: 0, k: 1 },
    { name: "MS4", m: 1, s: 1, k: 2 },
    { name: "S4", m: 0, s: 2, k: 1 },
  ],
  6: [
    { name: "M6", m: 3, s: 0, k: 1 },
    { name: "2MS6", m: 2, s: 1, k: 3 },
    { name: "2SM6", m: 1, s: 2, k: 3 },
    { name: "S6", m: 0, s: 3, k: 1 },
  ],
};

// Greenwich phases: the compound speeds are sums of the M2 and S2 speeds, so sf4 and sf6 are
// the same in every zone.
function fitShallow(n, get) {
  const m2 = get("M2");
  const s2 = get("S2");
  let re = 0;
  let im = 0;
  let norm = 0;
  for (const t of SHALLOW_TERMS[n]) {
    const [cr, ci] = phasor(t.k * m2.amplitude ** t.m * s2.amplitude ** t.s, t.m * m2.phase + t.s * s2.phase);
    const z = get(t.name);
    const [zr, zi] = phasor(z.amplitude, z.phase);
    re += cr * zr + ci * zi;
    im += cr * zi - ci * zr;
    norm += cr * cr + ci * ci;
  }
  const L = Math.hypot(re, im) / norm;
  return { L, sf: L > 0 ? mod360(Math.atan2(im, re) / RAD) : 0 };
}

// Without S2 the fit is the plain overtide ratio: LF4 = H(M4)/H(M2)^2, sf4 = g(M4) - 2g(M2),
// LF6 = H(M6)/H(M2)^3, sf6 = g(M6) - 3g(M2).
function checkFitWithoutS2() {
  const c = { M2: { amplitude: 1.7, phase: 123 }, M4: { amplitude: 0.21, phase: 301 }, M6: { amplitude: 0.05, phase: 17 } };
  const get = (n) => c[n] ?? { amplitude: 0, phase: 0 };
  const f4 = fitShallow(4, get);
  const f6 = fitShallow(6, get);
  const near = (a, b) => Math.abs(a - b) < 1e-12;
  const sameAngle = (a, b) => Math.abs(mod360(a - b + 180) - 180) < 1e-9;
  if (!near(f4.L, 0.21 / 1.7 ** 2) || !sameAngle(f4.sf, 301 - 2 * 123) ||
      !near(f6.L, 0.05 / 1.7 ** 3) || !sameAngle(f6.sf, 17 - 3 * 123)) {
    throw new Error(`shallow-water fit without S2: ${JSON.stringify([f4, f6])}`);
  }
}

// Turning points in one cycle of R cos(th) + LF4 R^2 cos(2th + sf4) + LF6 R^3 cos(3th + sf6),
// the engine's semi-diurnal curve at a combined amplitude R.
const SHAPE_STEPS = 720;
function turningPoints(R, f4, f6) {
  const slope = (th) =>
    -R * Math.sin(th) -
    2 * f4.L * R * R * Math.sin(2 * th + f4.sf * RAD) -
    3 * f6.L * R ** 3 * Math.sin(3 * th + f6.sf * RAD);
  let count = 0;
  let prev = slope((-2 * Math.PI) / SHAPE_STEPS);
  for (let k = 0; k < SHAPE_STEPS; k++) {
    const d = slope((2 * Math.PI * k) / SHAPE_STEPS);
    if ((prev > 0 && d <= 0) || (prev < 0 && d >= 0)) count++;
    prev = d;
  }
  return count;
}

// The engine's M2 and S2 carry their groups (N2, K2 and smaller members) in daily factors, so
// R reaches MAX_M2 H_M2 + MAX_S2 H_S2; the bounds are the sums of the members' largest
// amplitudes.
const MAX_M2_FACTOR = 1.38;
const MAX_S2_FACTOR = 1.42;
const AMPLITUDE_STEPS = 20;

// The largest share, in hundredths, of the fitted terms that keeps one high and one low water
// per cycle at every combined amplitude: where the engine makes a double high or low water it
// does not match the station's (tools/tidecheck).
function singleTideShare(get, f4, f6) {
  const rMax = MAX_M2_FACTOR * get("M2").amplitude + MAX_S2_FACTOR * get("S2").amplitude;
  const single = (share) => {
    const g4 = { L: f4.L * share, sf: f4.sf };
    const g6 = { L: f6.L * share, sf: f6.sf };
    for (let i = 1; i <= AMPLITUDE_STEPS; i++) {
      if (turningPoints((rMax * i) / AMPLITUDE_STEPS, g4, g6) !== 2) return false;
    }
    return true;
  };
  for (let pc = 100; pc > 0; pc--) if (single(pc / 100)) return pc / 100;
  return 0;
}

// Seasonal terms only from records long enough to separate them from a year's weather.
const SEASONAL_MIN_YEARS = 2;
const YEAR_MS = 365.25 * 86400e3;

function recordYears(s) {
  const span = (Date.parse(s.epoch?.end) - Date.parse(s.epoch?.start)) / YEAR_MS;
  return Number.isFinite(span) ? span : 0;
}

function constants(s, zoneHours) {
  const h = Object.fromEntries(s.harmonic_constituents.map((c) => [c.name, c]));
  const absent = { amplitude: 0, phase: 0, missing: true };
  const get = (name) => h[name] ?? absent;
  const zonePhase = (name) => {
    const c = get(name);
    return c.missing ? 0 : mod360(c.phase + SPEED[name] * zoneHours);
  };

  const f4 = fitShallow(4, get);
  const f6 = fitShallow(6, get);
  const share = singleTideShare(get, f4, f6);
  const values = {
    Z0: s.datums.MSL - s.datums[s.chart_datum],
    M2g: zonePhase("M2"),
    M2Hm: get("M2").amplitude,
    S2g: zonePhase("S2"),
    S2Hm: get("S2").amplitude,
    K1g: zonePhase("K1"),
    K1Hm: get("K1").amplitude,
    O1g: zonePhase("O1"),
    O1Hm: get("O1").amplitude,
    sf4: f4.sf,
    LF4: f4.L * share,
    sf6: f6.sf,
    LF6: f6.L * share,
  };
  const years = recordYears(s);
  const seasonal = years >= SEASONAL_MIN_YEARS;
  const monthDZ0 = seasonal ? seasonalOffsets(get("SA"), get("SSA")) : new Array(12).fill(0);
  const names = ["S2", "K1", "O1", "SA", "SSA", ...Object.values(SHALLOW_TERMS).flat().map((t) => t.name)];
  const missing = names.filter((n) => !h[n]);
  return { values, monthDZ0, missing, share, years, seasonal };
}

function buildFile(area, stations) {
  const buf = Buffer.alloc(RECORD_SIZE * stations.length);
  const rows = [];
  stations.forEach((s, i) => {
    const base = i * RECORD_SIZE;
    const portNo = `${area.prefix}${String(i + 1).padStart(PORTNO_WIDTH - area.prefix.length, "0")}`;
    const name = portName(s);
    const { values, monthDZ0, missing, share, years, seasonal } = constants(s, area.zoneHours);

    putText(buf, base, PORTNO_WIDTH, portNo);
    putText(buf, base + PORTNO_WIDTH, NAME_WIDTH, name);
    buf.writeFloatLE(s.latitude, base + OFF_LAT);
    buf.writeFloatLE(s.longitude, base + OFF_LON);
    putText(buf, base + OFF_ZONE, 1, area.zoneLetter);
    CONSTANT_FIELDS.forEach((f, k) => buf.writeFloatLE(values[f], base + OFF_CONSTANTS + 4 * k));
    monthDZ0.forEach((v, m) => buf.writeFloatLE(v, base + OFF_MONTH_DZ0 + 4 * m));
    for (let m = 0; m < 12; m++) buf.writeFloatLE(values.M2Hm, base + OFF_MONTH_M2HM + 4 * m);

    rows.push({ record: i + 1, portNo, name, id: s.id, missing, values, share, years, seasonal });
  });
  return { buf, rows };
}

// ---------------------------------------------------------------- read-back check

function decode(buf, index) {
  const base = index * RECORD_SIZE;
  const text = (o, w) => buf.toString("latin1", base + o, base + o + w).trimEnd();
  const floats = (o, n) => Array.from({ length: n }, (_, k) => buf.readFloatLE(base + o + 4 * k));
  const c = floats(OFF_CONSTANTS, CONSTANT_FIELDS.length);
  return {
    portNo: text(0, PORTNO_WIDTH),
    name: text(PORTNO_WIDTH, NAME_WIDTH),
    latitude: buf.readFloatLE(base + OFF_LAT),
    longitude: buf.readFloatLE(base + OFF_LON),
    zone: text(OFF_ZONE, 1),
    ...Object.fromEntries(CONSTANT_FIELDS.map((f, k) => [f, c[k]])),
    monthDZ0: floats(OFF_MONTH_DZ0, 12),
    monthM2Hm: floats(OFF_MONTH_M2HM, 12),
  };
}

function verify(path, area) {
  const buf = readFileSync(path);
  if (buf.length === 0 || buf.length % RECORD_SIZE !== 0) throw new Error(`${path}: size ${buf.length}`);
  const count = buf.length / RECORD_SIZE;
  for (let i = 0; i < count; i++) {
    const r = decode(buf, i);
    const nums = [r.latitude, r.longitude, ...CONSTANT_FIELDS.map((f) => r[f]), ...r.monthDZ0, ...r.monthM2Hm];
    if (!r.name) throw new Error(`${path}: record ${i + 1} has no name`);
    if (r.zone !== area.zoneLetter) throw new Error(`${path}: record ${i + 1} zone ${r.zone}`);
    if (!nums.every(Number.isFinite)) throw new Error(`${path}: record ${i + 1} (${r.name}) has a non-finite value`);
    if (!(r.M2Hm > 0)) throw new Error(`${path}: record ${i + 1} (${r.name}) has no M2`);
  }
  if (area.checkRecord) {
    const r = decode(buf, area.checkRecord.number - 1);
    if (r.name !== "Dover") throw new Error(`${path}: record ${area.checkRecord.number} is ${r.name}`);
    if (Math.abs(r.M2Hm - 2.2) > 0.2 || Math.abs(r.M2g - 330) > 10 || Math.abs(r.Z0 - 3.7) > 0.3) {
      throw new Error(`${path}: Dover constants look wrong: ${JSON.stringify(r)}`);
    }
  }
  return count;
}

// ---------------------------------------------------------------- main

checkFitWithoutS2();
mkdirSync(dataDir, { recursive: true });
const attributions = new Set();
for (const area of AREAS) {
  const { kept, skipped, stats } = select(area);
  const stations = order(area, kept);
  if (area.checkRecord && stations[area.checkRecord.number - 1]?.id !== area.checkRecord.id) {
    throw new Error(`${area.file}: record ${area.checkRecord.number} is not ${area.checkRecord.id}`);
  }
  const { buf, rows } = buildFile(area, stations);
  const seen = new Map();
  for (const r of rows) {
    if (seen.has(r.name)) {
      throw new Error(`${area.file}: records ${seen.get(r.name)} and ${r.record} are both "${r.name}"`);
    }
    seen.set(r.name, r.record);
  }
  const path = join(dataDir, area.file);
  writeFileSync(path, buf);
  const count = verify(path, area);
  stations.forEach((s) => attributions.add(s.attribution));

  const lic = Object.entries(stats.licenceExcluded).map(([k, v]) => `${v.length} ${k}`).join(", ") || "none";
  console.log(`${relative(repoRoot, path)}: ${count} ports, ${buf.length} bytes`);
  console.log(
    `  ${stats.inArea} tide stations in the area; ${stats.licensed} ${LICENCE}, excluded by licence: ${lic}; ` +
      `${stats.rejected} unusable, ${stats.merged} merged into a site`,
  );
  const missingEverywhere = rows[0].missing.filter((n) => rows.every((r) => r.missing.includes(n)));
  if (missingEverywhere.length) console.log(`  no station has ${missingEverywhere.join(", ")} (taken as 0)`);
  for (const r of rows) {
    const own = r.missing.filter((n) => !missingEverywhere.includes(n));
    const notes = [];
    if (own.length) notes.push(`no ${own.join(", ")}`);
    if (r.share < 1) notes.push(`shallow-water terms at ${Math.round(r.share * 100)}% of the fit`);
    if (!r.seasonal) notes.push(`no seasonal terms: ${r.years.toFixed(1)}-year record`);
    const note = notes.length ? `  (${notes.join("; ")})` : "";
    console.log(`  ${String(r.record).padStart(3)} ${r.portNo} ${r.name.padEnd(NAME_WIDTH)} ${r.id}${note}`);
  }
  for (const [id, why] of skipped) console.log(`  skipped ${id}: ${why}`);
  for (const [lic, ids] of Object.entries(stats.licenceExcluded)) {
    console.log(`  skipped for licence ${lic}:`);
    for (let i = 0; i < ids.length; i += 3) console.log(`    ${ids.slice(i, i + 3).join("  ")}`);
  }
  console.log("");
}
const unusedRenames = [...RENAMES.keys()].filter((n) => !renamesUsed.has(n));
if (unusedRenames.length) throw new Error(`RENAMES entries for no station: ${unusedRenames.join(", ")}`);
console.log("Attribution:");
for (const a of attributions) console.log(`  ${a}`);
