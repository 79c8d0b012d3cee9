{{%AUTOESCAPE context="HTML"}}<!DOCTYPE html>
<html lang="en">
<head>
<title>{{SITE_TITLE}}</title>
{{>HEAD}}
</head>
<body>
{{>HEADER}}
<main>
<h1>{{SITE_TITLE}}</h1>
<p class="note">{{DATABASE}}: the current version of every workflow, by category. Published {{PUBLISHED}}.</p>
{{#NO_WORKFLOWS}}<p>No workflow of the chosen statuses is stored.</p>{{/NO_WORKFLOWS}}
{{#CATEGORY}}
<section class="category">
<h2>{{NAME}}</h2>
<table>
<thead><tr><th scope="col">Workflow</th><th scope="col">Status</th><th scope="col">Supervisor</th><th scope="col">Last change</th><th scope="col">Other versions</th></tr></thead>
<tbody>
{{#WORKFLOW}}<tr><td>{{#LINKED}}<a href="{{PAGE}}">{{TEXT}}</a>{{/LINKED}}{{#UNLINKED}}{{TEXT}} (could not be read){{/UNLINKED}}</td><td data-label="Status">{{STATUS}}</td><td data-label="Supervisor">{{SUPERVISOR}}</td><td data-label="Last change">{{LAST_CHANGE}}</td><td data-label="Other versions">{{#OTHER}}<a href="{{PAGE}}">{{TEXT}}</a>{{#OTHER_separator}}<br>{{/OTHER_separator}}{{/OTHER}}</td></tr>
{{/WORKFLOW}}</tbody>
</table>
</section>
{{/CATEGORY}}
</main>
</body>
</html>
