// The same BPMN file through bpmn-moddle, beside bpmn_bench: reads it with
// fromXML and writes it again with toXML, RUNS times each, and prints the
// median milliseconds of each as "fromXML MS" and "toXML MS".
//   node bench/bpmn_moddle.mjs FILE RUNS   (the module from tests/bpmn-moddle)
import fs from 'node:fs';
import { createRequire } from 'node:module';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

const here = path.dirname(fileURLToPath(import.meta.url));
const require = createRequire(path.join(here, '../tests/bpmn-moddle/package.json'));
const { pathToFileURL } = await import('node:url');
const { BpmnModdle } = await import(pathToFileURL(require.resolve('bpmn-moddle')).href);

const xml = fs.readFileSync(process.argv[2], 'utf8');
const runs = Number(process.argv[3] || 3);
const median = (v) => v.sort((a, b) => a - b)[Math.floor(v.length / 2)];
const reads = [], writes = [];
let definitions;
for (let i = 0; i < runs; ++i) {
  const moddle = new BpmnModdle();
  let start = performance.now();
  const { rootElement, warnings } = await moddle.fromXML(xml);
  reads.push(performance.now() - start);
  if (warnings.length) throw new Error(`${warnings.length} warnings: ${warnings[0].message}`);
  definitions = rootElement;
  start = performance.now();
  await moddle.toXML(definitions);
  writes.push(performance.now() - start);
}
console.log(`fromXML ${median(reads).toFixed(1)}`);
console.log(`toXML ${median(writes).toFixed(1)}`);
