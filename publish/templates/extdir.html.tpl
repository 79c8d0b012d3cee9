{{%AUTOESCAPE context="HTML"}}<!DOCTYPE html>
<html lang="en">
<head>
<title>External Directory - {{SITE_TITLE}}</title>
{{>HEAD}}
</head>
<body>
{{>HEADER}}
<main class="catalogue">
<h1>External Directory</h1>
{{#NO_DIRECTORY}}<p>{{REASON}}</p>{{/NO_DIRECTORY}}
{{#DIRECTORY}}<p class="note">{{TITLE}}</p>{{/DIRECTORY}}
{{#SECTION}}
<section>
<h2>{{LABEL}}</h2>
{{>TREE}}
</section>
{{/SECTION}}
</main>
</body>
</html>
