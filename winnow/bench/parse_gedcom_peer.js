// The npm parse-gedcom peer on the same file: read, parse, count records.
// usage: node parse_gedcom_peer.js FILE   (NODE_PATH=.deps/npm/node_modules)
const fs = require("fs");
const { parse } = require("parse-gedcom");
const file = process.argv[2];
const start = process.hrtime.bigint();
const text = fs.readFileSync(file, "utf8");
const tree = parse(text);
const seconds = Number(process.hrtime.bigint() - start) / 1e9;
let individuals = 0;
for (const node of tree.children) if (node.type === "INDI") individuals++;
const mb = fs.statSync(file).size / 1e6;
console.log(`parse-gedcom ${file}: ${mb.toFixed(1)} MB in ${seconds.toFixed(3)} s = ${(mb / seconds).toFixed(1)} MB/s, ${individuals} individuals`);
